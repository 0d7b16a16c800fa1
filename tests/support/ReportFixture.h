#pragma once
// A fresh store with a computed schedule, the shipped report definition, and the PDF read back
// as text with poppler's pdftotext.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "report/ReportCalculation.h"
#include "runtime/ProgramFolder.h"
#include "schedule/ScheduleComputation.h"
#include "schedule/ScheduleTexts.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {

inline bool havePdfToText() {
    return std::system("command -v pdftotext >/dev/null 2>&1") == 0;
}

inline std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

/// The pages of a PDF as pdftotext -layout reads them. The path is a test's temporary folder,
/// which holds no quote.
inline std::vector<std::string> pdfPages(const std::filesystem::path& pdf) {
    const std::string text = pdf.string() + ".txt";
    EXPECT_EQ(std::system(("pdftotext -layout '" + pdf.string() + "' '" + text + "'").c_str()), 0);
    std::vector<std::string> pages;
    std::istringstream in(readText(text));
    for (std::string page; std::getline(in, page, '\f');) {
        pages.push_back(page);
    }
    return pages;
}

/// \brief A fresh store for one test, and the schedule of inputs computed and stored the way
/// the schedule run stores it.
class ReportTest : public ::testing::Test {
protected:
    /// Stores the schedule of inputs in EMI and returns each row's texts in CSV order:
    /// SN, date, opening, interest, principal, closing.
    std::vector<std::vector<std::string>> storeSchedule(const ScheduleInputs& inputs) {
        ScheduleComputation computation(inputs);
        std::vector<std::string> statements{"delete * from EMI"};
        std::vector<std::vector<std::string>> expected;
        for (std::int16_t i = 1; i <= computation.monthCount(); ++i) {
            const ScheduleRow row = computation.step(i);
            appendInsertStatement(statements.emplace_back(), computation, row);
            expected.push_back(
                {std::to_string(row.sn), ScheduleComputation::dateText(row.date),
                 computation.rounded(row.openingBalance), computation.rounded(row.interest),
                 computation.rounded(row.principal), computation.rounded(row.closingBalance)});
        }
        exec(statements);
        m_instalment = computation.result();
        return expected;
    }

    ReportCalculation calculationOf(const ScheduleInputs& inputs) const {
        return {inputs.amount,   inputs.months, inputs.rate,
                inputs.decimals, inputs.start,  m_instalment};
    }

    /// The definition shipped with the program, installed beside the test program.
    static std::filesystem::path shippedDefinition() { return programFolder() / "EMI.rpt"; }

    std::filesystem::path file(const std::string& name) const { return store.folder() / name; }

    TempStore store;
    std::string m_instalment = "0";
};

/// The CSV quillet-schedule writes for rows given as storeSchedule returns them.
inline std::string csvOf(const std::vector<std::vector<std::string>>& rows) {
    std::string csv = "SN,OpeningBalance,Interest,Principal,ClosingBalance,EMIDate\n";
    for (const auto& row : rows) {
        csv += row[0] + "," + row[2] + "," + row[3] + "," + row[4] + "," + row[5] + "," + row[1] +
               "\n";
    }
    return csv;
}

}  // namespace quillet::testing
