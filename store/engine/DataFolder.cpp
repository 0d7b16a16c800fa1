#include "engine/DataFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

#include "engine/StoreFiles.h"
#include "runtime/RuntimeError.h"

namespace quillet {

namespace {

constexpr mode_t kPrivateFolder = 0700;
constexpr mode_t kPrivateFile = 0600;

RuntimeError refused(const std::filesystem::path& folder, const std::string& reason) {
    return {err::StoreConnectFailed, "The data folder '" + folder.string() + "' " + reason, 0,
            "08001"};
}

std::string reasonOf(int error) {
    return std::generic_category().message(error);
}

void createParents(const std::filesystem::path& folder) {
    std::filesystem::path partial;
    for (const auto& part : folder.parent_path()) {
        partial /= part;
        std::error_code ignored;
        if (std::filesystem::is_directory(partial, ignored)) {
            continue;
        }
        if (::mkdir(partial.c_str(), kPrivateFolder) != 0 && errno != EEXIST) {
            throw refused(folder, "cannot be created: " + reasonOf(errno) + ".");
        }
    }
}

// Opens an existing data folder of this user and returns its descriptor and state, or refuses
// it: a folder of another user, a link of another user, or a link to another user's folder.
struct OwnFolder {
    int fd;
    struct stat state;
};

OwnFolder openOwnFolder(const std::filesystem::path& folder) {
    const uid_t user = ::geteuid();
    struct stat entry {};
    if (::lstat(folder.c_str(), &entry) != 0) {
        throw refused(folder, "cannot be used: " + reasonOf(errno) + ".");
    }
    if (entry.st_uid != user) {
        throw refused(folder, S_ISLNK(entry.st_mode)
                                  ? "is a link made by another user; it is not used."
                                  : "belongs to another user; it is not used.");
    }
    // Opened without following a last link only when it is none; a link of this user to a
    // folder of this user is honoured.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat target {};
    if (fd < 0 || ::fstat(fd, &target) != 0) {
        const int error = errno;
        if (fd >= 0) {
            ::close(fd);
        }
        throw refused(folder, error == ENOTDIR
                                  ? "cannot be created: a file of that name is in the way."
                                  : "cannot be used: " + reasonOf(error) + ".");
    }
    if (target.st_uid != user) {
        ::close(fd);
        throw refused(folder, "leads to a folder of another user; it is not used.");
    }
    return {fd, target};
}

}  // namespace

void ensurePrivateDataFolder(const std::filesystem::path& folder) {
    createParents(folder);
    const bool created = ::mkdir(folder.c_str(), kPrivateFolder) == 0;
    if (!created && errno != EEXIST) {
        throw refused(folder, "cannot be created: " + reasonOf(errno) + ".");
    }
    const OwnFolder own = openOwnFolder(folder);
    // A new folder is rwx------ under any umask; one found from an older version loses what
    // others could do in it, and keeps what its owner chose for themselves.
    const mode_t wanted = created ? kPrivateFolder : (own.state.st_mode & 0700);
    const bool tightened = (own.state.st_mode & 07777) == wanted || ::fchmod(own.fd, wanted) == 0;
    const int error = errno;
    ::close(own.fd);
    if (!tightened) {
        throw refused(folder, "cannot be made private: " + reasonOf(error) + ".");
    }
}

void checkDataFolder(const std::filesystem::path& folder) {
    struct stat entry {};
    if (::lstat(folder.c_str(), &entry) != 0 && errno == ENOENT) {
        return;  // Made when the store is first used.
    }
    ::close(openOwnFolder(folder).fd);
}

void restrictDatabaseFiles(const std::filesystem::path& database) {
    // A new store is made here, so the engine (which would use rw-r--r--) finds it and gives its
    // WAL and shared-memory files the same owner-only mode. Only a file this call created is
    // opened and closed: closing any descriptor of a file drops every lock the process holds
    // on it, the engine's own included.
    const int created = ::open(database.c_str(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kPrivateFile);
    if (created >= 0) {
        ::fchmod(created, kPrivateFile);
        ::close(created);
    }
    // The files already there are changed by name: the folder is this user's alone, so no one
    // else can put a link in their place meanwhile.
    for (const std::filesystem::path& file : databaseFiles(database)) {
        struct stat info {};
        if (::lstat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::geteuid() && (info.st_mode & 077) != 0) {
            ::chmod(file.c_str(), info.st_mode & 0700);
        }
    }
}

}  // namespace quillet
