// One Calculate against the embedded store, without a window: delete the old schedule, insert
// every month, read the schedule back for the grid before the commit. Runs in throw-away data
// folders.
//
// The limit is the same work in a few lines of C on the same library, none of Quillet's code:
// the instalments computed by a plain loop with the same pow and half-even rounding, one
// connection per Calculate in WAL mode (synchronous NORMAL, as the store), one transaction, one
// prepared insert binding the rounded figures and an ISO date, the rows read back before the
// commit as the run reads them for the grid, and one idle connection held for the whole run as the
// store keeps one, on a database made from the store's own schema. Both sides run interleaved in
// one process and the ratio printed is the median of the pairs' ratios of thread CPU time.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "GridRefreshHooks.h"
#include "PairedRatio.h"
#include "PlainSchedule.h"
#include "run/ScheduleStoreRun.h"
#include "schedule/ScheduleComputation.h"
#include "schema/DefaultSchema.h"

namespace {

class TempData {
public:
    TempData() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillet-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            m_folder = pattern;
            ::setenv("XDG_DATA_HOME", pattern.c_str(), 1);
        }
    }
    ~TempData() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    const std::filesystem::path& folder() const { return m_folder; }

private:
    std::filesystem::path m_folder;
};

using quillet::bench::threadCpuMs;

// CPU milliseconds per Calculate, by figure name, for the ratios printed at the end.
std::map<std::string, double>& figures() {
    static std::map<std::string, double> all;
    return all;
}

quillet::ScheduleInputs inputsFor(const char* months) {
    quillet::ScheduleInputs inputs;
    inputs.months = months;
    inputs.decimals = "2";
    return inputs;
}

void calculate(benchmark::State& state, const char* months) {
    TempData data;
    const quillet::ScheduleInputs inputs = inputsFor(months);
    long rows = 0;
    const quillet::ScheduleRunHooks hooks = quillet::bench::gridRefreshHooks(rows);
    // Create the store once, outside the timing.
    quillet::runScheduleToStore(inputs, hooks);
    for (auto _ : state) {
        const auto outcome = quillet::runScheduleToStore(inputs, hooks);
        if (outcome.failed) {
            state.SkipWithError(outcome.errorDescription.c_str());
            break;
        }
    }
    state.counters["rows"] = static_cast<double>(rows);
}

// ---- The plain-C limit --------------------------------------------------------------------

void must(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
        std::fprintf(stderr, "limit: %s\n",
                     db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        std::abort();
    }
}

sqlite3* openLimit(const std::string& file) {
    sqlite3* db = nullptr;
    must(sqlite3_open(file.c_str(), &db), db);
    sqlite3_busy_timeout(db, 5000);
    must(sqlite3_exec(db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr), db);
    return db;
}

// volatile: read at run time, as a program reads its inputs.
volatile double g_amount = 1000000;
volatile double g_rate = 6;
volatile int g_decimals = 2;

long limitCalculate(const std::string& file, int months) {
    sqlite3* db = openLimit(file);
    must(sqlite3_exec(db, "BEGIN IMMEDIATE; DELETE FROM EMI", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* insert = nullptr;
    must(sqlite3_prepare_v2(db, "INSERT INTO EMI VALUES (?, ?, ?, ?, ?, ?)", -1, &insert, nullptr),
         db);
    quillet::bench::PlainSchedule schedule(g_amount, g_rate, months, g_decimals, 2024, 1, 1);
    quillet::bench::PlainMonth month{};
    char date[10];
    for (int i = 1; i <= schedule.months(); ++i) {
        schedule.step(i, month);
        quillet::bench::writeIsoDate(month, date);
        sqlite3_bind_int(insert, 1, i);
        sqlite3_bind_double(insert, 2, month.opening);
        sqlite3_bind_double(insert, 3, month.interest);
        sqlite3_bind_double(insert, 4, month.principal);
        sqlite3_bind_double(insert, 5, month.closing);
        sqlite3_bind_text(insert, 6, date, 10, SQLITE_STATIC);
        must(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);

    // The rows read back inside the transaction, as the run reads them for the grid.
    sqlite3_stmt* select = nullptr;
    must(sqlite3_prepare_v2(db, "SELECT * FROM EMI ORDER BY SN", -1, &select, nullptr), db);
    long rows = 0;
    double sum = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
        sum += sqlite3_column_int(select, 0);
        for (int c = 1; c <= 4; ++c) {
            sum += sqlite3_column_double(select, c);
        }
        benchmark::DoNotOptimize(sqlite3_column_text(select, 5));
        ++rows;
    }
    benchmark::DoNotOptimize(sum);
    sqlite3_finalize(select);
    must(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    return rows;
}

// A database for the limit beside the store, made from the store's own schema, so every
// connection reads the same catalogue; the connection returned is held open for the whole run,
// as the store keeps one.
sqlite3* makeLimitDatabase(const std::string& file) {
    sqlite3* keep = openLimit(file);
    const std::string schema = "PRAGMA journal_mode = WAL; " +
                               std::string(quillet::defaultSchemaSql()) +
                               "; SELECT count(*) FROM sqlite_master";
    must(sqlite3_exec(keep, schema.c_str(), nullptr, nullptr, nullptr), keep);
    return keep;
}

void limit(benchmark::State& state, const char* months) {
    TempData data;
    const std::string file = (data.folder() / "limit.db").string();
    sqlite3* keep = makeLimitDatabase(file);
    const int count = std::atoi(months);
    long rows = limitCalculate(file, count);
    for (auto _ : state) {
        rows = limitCalculate(file, count);
    }
    sqlite3_close(keep);
    state.counters["rows"] = static_cast<double>(rows);
}

// Our Calculate and the limit alternately on the same data folder, pairs times.
quillet::bench::PairedFigures paired(const char* months, int pairs) {
    TempData data;
    const std::string file = (data.folder() / "limit.db").string();
    sqlite3* keep = makeLimitDatabase(file);
    const quillet::ScheduleInputs inputs = inputsFor(months);
    long rows = 0;
    const quillet::ScheduleRunHooks hooks = quillet::bench::gridRefreshHooks(rows);
    const int count = std::atoi(months);
    long limitRows = 0;
    const auto figures = quillet::bench::pairedRatio(
        pairs, [&] { quillet::runScheduleToStore(inputs, hooks); },
        [&] { limitRows = limitCalculate(file, count); });
    sqlite3_close(keep);
    if (rows != count || limitRows != count) {
        std::fprintf(stderr, "paired %s: %ld and %ld rows\n", months, rows, limitRows);
    }
    return figures;
}

// ---- Many Calculates in a row ---------------------------------------------------------------

// 1009 Calculates of 360 months on one store, each on its own connections as the window runs
// them. The 10th and the 1000th are each taken as the median of the 19 Calculates around them:
// single runs on a shared machine are noisy, and one in some 70 Calculates also pays for an
// automatic checkpoint, whatever its number.
void series(benchmark::State& state) {
    TempData data;
    const quillet::ScheduleInputs inputs = inputsFor("360");
    long rows = 0;
    const quillet::ScheduleRunHooks hooks = quillet::bench::gridRefreshHooks(rows);
    constexpr int kCount = 1009;
    std::vector<double> cpu(kCount + 1, 0.0);
    for (auto _ : state) {
        for (int n = 1; n <= kCount; ++n) {
            const double before = threadCpuMs();
            quillet::runScheduleToStore(inputs, hooks);
            cpu[static_cast<std::size_t>(n)] = threadCpuMs() - before;
        }
    }
    const auto medianAround = [&](int centre) {
        std::vector<double> window(cpu.begin() + centre - 9, cpu.begin() + centre + 10);
        std::nth_element(window.begin(), window.begin() + 9, window.end());
        return window[9];
    };
    const auto meanOf = [&](int first, int last) {
        double sum = 0;
        for (int n = first; n <= last; ++n) {
            sum += cpu[static_cast<std::size_t>(n)];
        }
        return sum / (last - first + 1);
    };
    figures()["series/10th"] = medianAround(10);
    figures()["series/1000th"] = medianAround(1000);
    // The mean over many Calculates, automatic checkpoints included.
    state.counters["mean_first100_ms"] = meanOf(1, 100);
    state.counters["mean_last100_ms"] = meanOf(kCount - 99, kCount);
    struct stat wal {};
    const auto walFile = data.folder() / "quillet" / "quillet.db-wal";
    state.counters["wal_kB"] =
        ::stat(walFile.c_str(), &wal) == 0 ? static_cast<double>(wal.st_size) / 1024 : 0;
}

void printRatio(const char* what, const std::string& ours, const std::string& base, double target) {
    auto& all = figures();
    if (all.count(ours) == 0 || all.count(base) == 0 || all[base] <= 0) {
        return;
    }
    const double ratio = all[ours] / all[base];
    std::printf("%-34s %9.3f ms / %9.3f ms = %5.2fx (target %.2fx) %s\n", what, all[ours],
                all[base], ratio, target, ratio <= target ? "met" : "MISSED");
}

}  // namespace

BENCHMARK_CAPTURE(limit, months360, "360")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(calculate, months360, "360")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(limit, months32767, "32767")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(calculate, months32767, "32767")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(series)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf(
        "\nCPU per Calculate plus reload, interleaved with the plain-C limit "
        "(medians of pairs)\n");
    quillet::bench::printPaired("360 months vs plain C", paired("360", 101), 1.3);
    quillet::bench::printPaired("32767 months vs plain C", paired("32767", 11), 1.3);
    printRatio("1000th vs 10th Calculate", "series/1000th", "series/10th", 1.25);
    return 0;
}
