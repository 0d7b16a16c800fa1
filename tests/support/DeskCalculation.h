#pragma once
// Desks calculating at once: each a forked process running the window's Calculate on the store
// "det" leads to, checking that the rows its grid was given are its own loan's.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/Recordset.h"
#include "run/ScheduleStoreRun.h"
#include "support/StoreAccess.h"

namespace quillet::testing {

/// Exit statuses of a desk: 0 its grid rows were its own whole schedule.
enum DeskOutcome { kOwnRows = 0, kRunFailed = 2, kNothingRead = 3, kOtherRows = 4 };

/// Runs Calculate for a loan of amount over months (two decimals) as the window does, reading
/// the grid's rows where the window reads them; says whether they are this loan's, whole.
inline int calculateAsADesk(const std::string& amount, int months) {
    ScheduleInputs inputs;
    inputs.amount = amount;
    inputs.months = std::to_string(months);
    inputs.decimals = "2";
    std::shared_ptr<Recordset> gridRows;
    ScheduleRunHooks hooks;
    hooks.readSchedule = [&](const std::shared_ptr<Connection>& connection) {
        gridRows = readStoredSchedule(connection);
    };
    if (runScheduleToStore(inputs, hooks).failed) {
        return kRunFailed;
    }
    if (!gridRows) {
        return kNothingRead;
    }
    if (gridRows->RecordCount() != months) {
        return kOtherRows;
    }
    long serial = 1;
    for (gridRows->MoveFirst(); !gridRows->Eof(); gridRows->MoveNext(), ++serial) {
        if (gridRows->Fields("SN").toDouble() != static_cast<double>(serial)) {
            return kOtherRows;
        }
    }
    gridRows->MoveFirst();
    return gridRows->Fields("OpeningBalance").toString() == amount ? kOwnRows : kOtherRows;
}

/// Starts the desks at once, each in a process of its own, and gives their exit statuses.
inline std::vector<int> desksCalculatingAtOnce(
    const std::vector<std::pair<std::string, int>>& loans) {
    std::vector<pid_t> desks;
    for (const auto& [amount, months] : loans) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::_exit(calculateAsADesk(amount, months));
        }
        desks.push_back(pid);
    }
    std::vector<int> statuses;
    for (const pid_t pid : desks) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        statuses.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    }
    return statuses;
}

/// Two desks calculating different loans at once, round after round: every desk's grid gets its
/// own loan's rows, and EMI holds one whole schedule (either desk's, whichever went last).
inline void expectDesksTakeTurns(int rounds) {
    const std::vector<std::pair<std::string, int>> loans = {{"100001", 360}, {"200001", 240}};
    for (int round = 0; round < rounds; ++round) {
        const std::vector<int> statuses = desksCalculatingAtOnce(loans);
        EXPECT_EQ(statuses, (std::vector<int>{kOwnRows, kOwnRows})) << "round " << round;
        const auto counts = rows("select count(*), count(distinct SN), max(SN) from EMI");
        const std::string months = counts.at(0).at(0);
        EXPECT_TRUE(months == "360" || months == "240") << "round " << round << ": " << months;
        EXPECT_EQ(counts.at(0).at(1), months) << "round " << round;
        EXPECT_EQ(counts.at(0).at(2), months) << "round " << round;
        const std::string opening = rows("select OpeningBalance from EMI where SN = 1").at(0).at(0);
        EXPECT_EQ(opening, months == "360" ? "100001" : "200001") << "round " << round;
    }
}

}  // namespace quillet::testing
