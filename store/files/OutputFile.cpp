#include "files/OutputFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>

namespace quillet {

namespace {

constexpr std::string_view kTemporaryEnding = ".partial";
constexpr std::size_t kRandomLength = 12;
constexpr std::size_t kLongestName = 255;
// Enough links to follow for any sane chain; the kernel gives up at 40 as well.
constexpr int kMostLinks = 40;

std::string reasonOf(int error) {
    return std::strerror(error);
}

std::string describe(const std::filesystem::path& target, const std::string& reason) {
    return "Cannot write \"" + target.string() + "\": " + reason;
}

/// Where a directory entry lives: its folder (as the file system knows it) and its name.
struct Place {
    dev_t device = 0;
    ino_t inode = 0;
    std::string name;
    bool operator==(const Place&) const = default;
};

std::filesystem::path folderOf(const std::filesystem::path& file) {
    const std::filesystem::path parent = file.parent_path();
    return parent.empty() ? std::filesystem::path(".") : parent;
}

std::optional<Place> placeOf(const std::filesystem::path& file) {
    struct stat folder {};
    if (file.filename().empty() || ::stat(folderOf(file).c_str(), &folder) != 0) {
        return std::nullopt;
    }
    return Place{folder.st_dev, folder.st_ino, file.filename().string()};
}

std::optional<std::pair<dev_t, ino_t>> identityOf(const std::filesystem::path& file,
                                                  bool followLinks) {
    struct stat info {};
    if ((followLinks ? ::stat(file.c_str(), &info) : ::lstat(file.c_str(), &info)) != 0) {
        return std::nullopt;
    }
    return std::make_pair(info.st_dev, info.st_ino);
}

/// The name itself and every name the links starting at it lead to, in order.
std::vector<std::filesystem::path> linkChain(const std::filesystem::path& start) {
    std::vector<std::filesystem::path> chain{start};
    for (int step = 0; step < kMostLinks; ++step) {
        std::error_code error;
        const std::filesystem::path& last = chain.back();
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(last, error))) {
            break;
        }
        const std::filesystem::path destination = std::filesystem::read_symlink(last, error);
        if (error) {
            break;
        }
        chain.push_back(destination.is_absolute() ? destination : folderOf(last) / destination);
    }
    return chain;
}

mode_t currentUmask() {
    // Reading it from the kernel leaves the process's umask alone: setting it to read it would
    // race with any thread creating a file meanwhile.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::string randomPart() {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::array<unsigned char, kRandomLength> bytes{};
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw OutputFileError("no random numbers for a temporary name: " + reasonOf(errno));
        }
        filled += static_cast<std::size_t>(got);
    }
    std::string part;
    for (const unsigned char byte : bytes) {
        part.push_back(kLetters[byte % kLetters.size()]);
    }
    return part;
}

/// The part of a temporary's name before its random letters: hidden, and short enough that the
/// whole name fits in a directory entry.
std::string temporaryPrefix(const std::string& name) {
    const std::size_t room = kLongestName - 2 - kRandomLength - kTemporaryEnding.size();
    return "." + name.substr(0, room) + ".";
}

// The side files a database engine keeps beside a file it writes (a copy of the store is made
// by the engine under the temporary's name).
constexpr std::array<std::string_view, 3> kSideEndings = {"-wal", "-shm", "-journal"};

/// The temporary an entry of the folder is or belongs to (as a side file), if it is one made
/// for a target of this prefix.
std::optional<std::string> temporaryOf(std::string_view entry, std::string_view prefix) {
    for (const std::string_view side : kSideEndings) {
        if (entry.size() > side.size() && entry.substr(entry.size() - side.size()) == side) {
            entry.remove_suffix(side.size());
            break;
        }
    }
    if (entry.size() != prefix.size() + kRandomLength + kTemporaryEnding.size() ||
        entry.substr(0, prefix.size()) != prefix ||
        entry.substr(entry.size() - kTemporaryEnding.size()) != kTemporaryEnding) {
        return std::nullopt;
    }
    const std::string_view letters = entry.substr(prefix.size(), kRandomLength);
    const bool random = std::all_of(letters.begin(), letters.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
    return random ? std::optional<std::string>(entry) : std::nullopt;
}

}  // namespace

mode_t finishedMode(OutputAccess access) {
    return access == OutputAccess::OwnerOnly ? mode_t{0600} : mode_t{0644} & ~currentUmask();
}

void refuseProtectedTarget(const std::filesystem::path& target,
                           const std::vector<std::filesystem::path>& refused) {
    for (const std::filesystem::path& name : linkChain(target)) {
        const auto place = placeOf(name);
        const auto file = identityOf(name, true);
        const auto entry = identityOf(name, false);
        for (const std::filesystem::path& protectedFile : refused) {
            const auto protectedIdentity = identityOf(protectedFile, true);
            const bool sameFile = protectedIdentity && ((file && *file == *protectedIdentity) ||
                                                        (entry && *entry == *protectedIdentity));
            const auto protectedPlace = placeOf(protectedFile);
            const bool samePlace = place && protectedPlace && *place == *protectedPlace;
            if (sameFile || samePlace) {
                throw OutputFileError(describe(target, "it is the record store's own file \"" +
                                                           protectedFile.string() +
                                                           "\", which no output may replace"));
            }
        }
    }
}

void FileDescriptor::reset(int fd) {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    m_fd = fd;
}

OutputFile::OutputFile(std::filesystem::path target, OutputAccess access,
                       const std::vector<std::filesystem::path>& refused)
    : m_target(std::move(target)), m_access(access) {
    m_name = m_target.filename().string();
    if (m_name.empty() || m_name == "." || m_name == "..") {
        fail("not a file name");
    }
    refuseProtectedTarget(m_target, refused);
    m_folder.reset(::open(folderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!m_folder) {
        fail(reasonOf(errno));
    }
    removeLeftovers();
    const std::string prefix = temporaryPrefix(m_name);
    for (int attempt = 0; attempt < 100 && !m_fd; ++attempt) {
        m_temporary = prefix + randomPart() + std::string(kTemporaryEnding);
        // Exclusive and never through a link: a name someone planted makes this attempt fail
        // instead of being written into.
        m_fd.reset(::openat(m_folder.get(), m_temporary.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!m_fd && errno != EEXIST) {
            fail(reasonOf(errno));
        }
    }
    if (!m_fd) {
        fail("no unused temporary name in its folder");
    }
    // The lock tells a later run that this temporary is still being written (see
    // removeLeftovers); the mode is set again in case the umask removed the owner's bits.
    ::flock(m_fd.get(), LOCK_EX | LOCK_NB);
    ::fchmod(m_fd.get(), 0600);
}

OutputFile::~OutputFile() {
    if (m_fd && !m_committed) {
        ::unlinkat(m_folder.get(), m_temporary.c_str(), 0);
    }
}

std::filesystem::path OutputFile::temporaryPath() const {
    return folderOf(m_target) / m_temporary;
}

void OutputFile::fail(const std::string& reason) const {
    throw OutputFileError(describe(m_target, reason));
}

void OutputFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_fd.get(), bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(reasonOf(errno));
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void OutputFile::requireUnmoved() const {
    struct stat ours {};
    struct stat named {};
    if (::fstat(m_fd.get(), &ours) != 0 ||
        ::fstatat(m_folder.get(), m_temporary.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 ||
        ours.st_dev != named.st_dev || ours.st_ino != named.st_ino) {
        fail("its temporary file was moved or replaced while it was written");
    }
}

void OutputFile::commit() {
    if (::fsync(m_fd.get()) != 0) {
        fail(reasonOf(errno));
    }
    requireUnmoved();
    // The final mode only now that the content is complete; set on the open file, so no link
    // planted meanwhile can redirect it.
    if (::fchmod(m_fd.get(), finishedMode(m_access)) != 0) {
        fail(reasonOf(errno));
    }
    // rename replaces whatever is at the name, a link included, and never writes through it.
    if (::renameat(m_folder.get(), m_temporary.c_str(), m_folder.get(), m_name.c_str()) != 0) {
        fail(reasonOf(errno));
    }
    m_committed = true;
    // The new name must survive a power loss as well as the content.
    ::fsync(m_folder.get());
}

void OutputFile::removeLeftovers() const {
    const int listing = ::dup(m_folder.get());
    if (listing < 0) {
        return;
    }
    DIR* folder = ::fdopendir(listing);
    if (folder == nullptr) {
        ::close(listing);
        return;
    }
    const std::string prefix = temporaryPrefix(m_name);
    std::vector<std::pair<std::string, std::string>> leftovers;  // entry, its temporary
    while (const dirent* entry = ::readdir(folder)) {
        if (auto temporary = temporaryOf(entry->d_name, prefix)) {
            leftovers.emplace_back(entry->d_name, std::move(*temporary));
        }
    }
    ::closedir(folder);
    // The temporaries first: a run still writing one holds its lock, and its side files stay
    // with it.
    std::sort(leftovers.begin(), leftovers.end(), [](const auto& a, const auto& b) {
        return (a.first == a.second) > (b.first == b.second);
    });
    for (const auto& [name, temporary] : leftovers) {
        const int fd = ::openat(m_folder.get(), name.c_str(),
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            continue;
        }
        struct stat info {};
        struct stat named {};
        struct stat owner {};
        const bool temporaryGone =
            ::fstatat(m_folder.get(), temporary.c_str(), &owner, AT_SYMLINK_NOFOLLOW) != 0;
        const bool unused = name == temporary ? ::flock(fd, LOCK_EX | LOCK_NB) == 0 : temporaryGone;
        // Only a plain file of this user that no run is still writing.
        const bool leftover =
            unused && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == ::geteuid() &&
            ::fstatat(m_folder.get(), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_ino == info.st_ino && named.st_dev == info.st_dev;
        if (leftover) {
            ::unlinkat(m_folder.get(), name.c_str(), 0);
        }
        ::close(fd);
    }
}

}  // namespace quillet
