#include "records/DocumentFiles.h"

#include <system_error>

#include "runtime/ProgramFolder.h"
#include "runtime/RuntimeError.h"

namespace quillet {

namespace {

constexpr int kBadFileName = 52;
constexpr int kPathFileAccess = 75;

}  // namespace

const std::string& documentName(const std::string& name) {
    // NOTE: '\\' is refused too, although it is an ordinary character in names here: a name
    // typed for the other platform's folders must not land in a file of a surprising name.
    const bool plain = !name.empty() && name != "." && name != ".." &&
                       name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
    if (!plain) {
        throw RuntimeError(kBadFileName, "Bad file name or number");
    }
    return name;
}

std::filesystem::path documentPath(const std::string& topic, const std::string& fileName) {
    return programFolder() / "DOCUMENT" / documentName(topic) / documentName(fileName);
}

std::filesystem::path reportFilePath(const std::string& group, const std::string& fileName) {
    return programFolder() / "Report" / documentName(group) / documentName(fileName);
}

void killFile(const std::filesystem::path& file) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // The entry itself: a link is removed, never the file it points to.
    const fs::file_status entry = fs::symlink_status(file, ec);
    if (entry.type() == fs::file_type::not_found) {
        if (!fs::is_directory(file.parent_path(), ec)) {
            throw RuntimeError(err::PathNotFound, "Path not found");
        }
        throw RuntimeError(err::FileNotFound, "File not found");
    }
    if (entry.type() == fs::file_type::none || fs::is_directory(entry) || !fs::remove(file, ec) ||
        ec) {
        throw RuntimeError(kPathFileAccess, "Path/File access error");
    }
}

}  // namespace quillet
