#include <iostream>
#include <string>
#include <vector>

#include "cli/ScheduleTool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return quillet::runScheduleTool(args, std::cout, std::cerr);
}
