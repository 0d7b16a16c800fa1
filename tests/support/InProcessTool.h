#pragma once
// quillet-schedule run in this process, its streams kept for the test to read.

#include <sstream>
#include <string>
#include <vector>

#include "cli/ScheduleTool.h"
#include "support/ToolRun.h"

namespace quillet::testing {

inline ToolRun runTool(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runScheduleTool(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace quillet::testing
