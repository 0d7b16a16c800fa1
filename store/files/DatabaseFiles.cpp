#include "files/DatabaseFiles.h"

namespace quillet {

std::vector<std::filesystem::path> databaseFiles(const std::filesystem::path& database) {
    std::vector<std::filesystem::path> files{database};
    for (const char* side : {"-wal", "-shm", "-journal"}) {
        std::filesystem::path file = database;
        file += side;
        files.push_back(std::move(file));
    }
    return files;
}

}  // namespace quillet
