#pragma once
// A fresh store with a computed schedule, the shipped report definition, and the PDF read back
// as text with poppler's pdftotext.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
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

/// Runs a command and returns what it wrote to standard output; exit status in status.
inline std::string runCommand(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        status = -1;
        return output;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, n);
    }
    status = ::pclose(pipe);
    return output;
}

inline bool havePdfToText() {
    int status = 0;
    runCommand("command -v pdftotext >/dev/null 2>&1", status);
    return status == 0;
}

inline std::string quoted(const std::filesystem::path& path) {
    std::string out = "'";
    for (const char c : path.string()) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

/// The pages of a PDF as pdftotext -layout reads them.
inline std::vector<std::string> pdfPages(const std::filesystem::path& pdf) {
    int status = 0;
    const std::string text = runCommand("pdftotext -layout " + quoted(pdf) + " -", status);
    EXPECT_EQ(status, 0) << "pdftotext failed on " << pdf;
    std::vector<std::string> pages;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t feed = text.find('\f', start);
        pages.push_back(text.substr(start, feed == std::string::npos ? feed : feed - start));
        if (feed == std::string::npos) {
            break;
        }
        start = feed + 1;
    }
    return pages;
}

inline std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
}

/// \brief One stored schedule row as its texts: SN, opening, interest, principal, closing, date.
struct ExpectedRow {
    std::vector<std::string> texts;
};

/// \brief A fresh store for one test, and the schedule of inputs computed and stored the way
/// the schedule run stores it.
class ReportTest : public ::testing::Test {
protected:
    void TearDown() override { setProgramFolder({}); }

    /// Stores the schedule of inputs in EMI and returns each row's texts.
    std::vector<ExpectedRow> storeSchedule(const ScheduleInputs& inputs) {
        ScheduleComputation computation(inputs);
        std::vector<std::string> statements{"delete * from EMI"};
        std::vector<ExpectedRow> expected;
        for (std::int16_t i = 1; i <= computation.monthCount(); ++i) {
            const ScheduleRow row = computation.step(i);
            std::string statement;
            appendInsertStatement(statement, computation, row);
            statements.push_back(statement);
            expected.push_back(
                {{std::to_string(row.sn), computation.rounded(row.openingBalance),
                  computation.rounded(row.interest), computation.rounded(row.principal),
                  computation.rounded(row.closingBalance),
                  ScheduleComputation::dateText(row.date)}});
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

}  // namespace quillet::testing
