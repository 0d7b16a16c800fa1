// One Calculate against the embedded store, without a window: delete the old schedule, insert
// every month, reload the grid's recordset. Runs in throw-away data folders.
//
// The limit is the same work in a few lines of C on the same library and the same I/O policy:
// one connection per Calculate in WAL mode (synchronous NORMAL, as the store), one transaction,
// one prepared insert, the rows read back on a second connection, and one idle connection held
// for the whole run as the store keeps one, on a database made from the store's own schema.
// Ratios are of thread CPU time.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "GridRefreshHooks.h"
#include "VekClass.h"
#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "run/ScheduleStoreRun.h"
#include "runtime/Date.h"
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

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

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
    double cpu = 0;
    for (auto _ : state) {
        const double before = threadCpuMs();
        const auto outcome = quillet::runScheduleToStore(inputs, hooks);
        cpu += threadCpuMs() - before;
        if (outcome.failed) {
            state.SkipWithError(outcome.errorDescription.c_str());
            break;
        }
    }
    state.counters["rows"] = static_cast<double>(rows);
    figures()[std::string("calculate/") + months] = cpu / static_cast<double>(state.iterations());
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

long limitCalculate(const std::string& file, const quillet::ScheduleInputs& inputs) {
    sqlite3* db = openLimit(file);
    must(sqlite3_exec(db, "BEGIN IMMEDIATE; DELETE FROM EMI", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* insert = nullptr;
    must(sqlite3_prepare_v2(db, "INSERT INTO EMI VALUES (?, ?, ?, ?, ?, ?)", -1, &insert, nullptr),
         db);
    quillet::ScheduleComputation computation(inputs);
    for (int i = 1; i <= computation.monthCount(); ++i) {
        const quillet::ScheduleRow row = computation.step(static_cast<std::int16_t>(i));
        const std::string date = quillet::formatIsoDate(row.date);
        sqlite3_bind_int(insert, 1, row.sn);
        sqlite3_bind_double(insert, 2, row.openingBalance);
        sqlite3_bind_double(insert, 3, row.interest);
        sqlite3_bind_double(insert, 4, row.principal);
        sqlite3_bind_double(insert, 5, row.closingBalance);
        sqlite3_bind_text(insert, 6, date.c_str(), static_cast<int>(date.size()), SQLITE_STATIC);
        must(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    must(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);

    db = openLimit(file);
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
    sqlite3_close(db);
    return rows;
}

void limit(benchmark::State& state, const char* months) {
    TempData data;
    const std::string file = (data.folder() / "limit.db").string();
    sqlite3* keep = openLimit(file);
    // The same database: the store's own schema, so every connection reads the same catalogue.
    const std::string schema = "PRAGMA journal_mode = WAL; " +
                               std::string(quillet::defaultSchemaSql()) +
                               "; SELECT count(*) FROM sqlite_master";
    must(sqlite3_exec(keep, schema.c_str(), nullptr, nullptr, nullptr), keep);
    const quillet::ScheduleInputs inputs = inputsFor(months);
    long rows = limitCalculate(file, inputs);
    double cpu = 0;
    for (auto _ : state) {
        const double before = threadCpuMs();
        rows = limitCalculate(file, inputs);
        cpu += threadCpuMs() - before;
    }
    sqlite3_close(keep);
    state.counters["rows"] = static_cast<double>(rows);
    figures()[std::string("limit/") + months] = cpu / static_cast<double>(state.iterations());
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
    std::printf("\nCPU per Calculate (thread CPU time)\n");
    printRatio("360 months vs plain C", "calculate/360", "limit/360", 2.5);
    printRatio("32767 months vs plain C", "calculate/32767", "limit/32767", 2.0);
    printRatio("1000th vs 10th Calculate", "series/1000th", "series/10th", 1.25);
    return 0;
}
