#include "runtime/ProgramFolder.h"

#include <system_error>

namespace quillet {

namespace {

std::filesystem::path& overridden() {
    static std::filesystem::path folder;
    return folder;
}

}  // namespace

std::filesystem::path programFolder() {
    if (!overridden().empty()) {
        return overridden();
    }
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return std::filesystem::current_path(ec);
    }
    return exe.parent_path();
}

void setProgramFolder(const std::filesystem::path& folder) {
    overridden() = folder;
}

}  // namespace quillet
