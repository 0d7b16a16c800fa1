#include <iostream>
#include <string>
#include <vector>

#include "cli/LibraryStderr.h"
#include "cli/ScheduleTool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    quillet::LibraryStderr err;
    return quillet::runScheduleTool(args, std::cout, err.stream());
}
