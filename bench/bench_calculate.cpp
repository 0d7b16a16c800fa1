// One Calculate against the embedded store, without a window: delete the old schedule, insert
// every month, reload the grid's recordset. Runs in a throw-away data folder.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "VekClass.h"
#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "run/ScheduleStoreRun.h"

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

private:
    std::filesystem::path m_folder;
};

void calculate(benchmark::State& state, const char* months) {
    TempData data;
    quillet::ScheduleInputs inputs;
    inputs.months = months;
    inputs.decimals = "2";
    long rows = 0;
    quillet::ScheduleRunHooks hooks;
    hooks.refreshGrid = [&] {
        // What the grid refresh does: a client-side recordset over the whole schedule.
        auto connection = std::make_shared<quillet::Connection>();
        connection->Open(quillet::defaultConnectionString(), "", "", -1);
        auto recordset = std::make_shared<quillet::Recordset>();
        recordset->setCursorLocation(quillet::kUseClient);
        recordset->Open("Select  * from EMI order by SN asc", connection, -1, 1, -1);
        rows = recordset->RecordCount();
    };
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

}  // namespace

BENCHMARK_CAPTURE(calculate, months360, "360")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(calculate, months32767, "32767")->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
