#pragma once
/// \file
/// \brief The one way an output file (a report, a CSV, a copy of the store) is written: nobody
/// else can redirect it, read it before it is complete, or find a truncated file at its name.

#include <sys/types.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "quillet_store_export.h"

namespace quillet {

/// \brief Why an output file cannot be written, as one message naming the file.
class QUILLET_STORE_INTERNAL OutputFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Who may read the finished file.
enum class OutputAccess {
    Shared,     ///< rw-r--r-- less what the umask takes away: nobody but the owner writes it
    OwnerOnly,  ///< rw-------: a copy of the records
};

/// An open file descriptor, closed with its owner.
class QUILLET_STORE_INTERNAL FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    void reset(int fd = -1);
    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

/// \brief An output file being written. The constructor creates a temporary file exclusively
/// (never through a link, under a name nobody can guess) in the target's folder, readable and
/// writable by the owner only. commit() syncs it, gives it its final mode and renames it over the
/// target: a link at the target's name is replaced, never written through. Without commit() the
/// destructor removes the temporary. A temporary left by a killed run stays unreadable to others
/// and is removed by the next write to the same name.
class QUILLET_STORE_INTERNAL OutputFile {
public:
    /// \brief Refuses (OutputFileError) a target that is, or leads to, one of refused by any
    /// name or link, or that names the place where one of them belongs; then makes the temporary.
    OutputFile(std::filesystem::path target, OutputAccess access,
               const std::vector<std::filesystem::path>& refused = {});
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const std::filesystem::path& target() const { return m_target; }
    /// The temporary's full name, for a library that must open the file by its name.
    std::filesystem::path temporaryPath() const;
    /// The temporary, open for writing.
    int descriptor() const { return m_fd.get(); }

    /// Appends bytes; throws OutputFileError when they cannot all be written.
    void write(std::string_view bytes);
    /// \brief Throws OutputFileError unless the temporary's name still leads to the file this
    /// object created (a library that wrote it by name may have been led elsewhere).
    void requireUnmoved() const;
    /// Syncs, sets the final mode and renames over the target; throws OutputFileError.
    void commit();

private:
    [[noreturn]] void fail(const std::string& reason) const;
    void removeLeftovers() const;

    std::filesystem::path m_target;
    OutputAccess m_access;
    FileDescriptor m_folder;
    FileDescriptor m_fd;
    std::string m_name;       ///< the target's name in its folder
    std::string m_temporary;  ///< the temporary's name in the same folder
    bool m_committed = false;
};

/// \brief Throws OutputFileError when target is one of refused: the same file through any name
/// or chain of links, or (for a file not there yet) the same name in the same folder.
void refuseProtectedTarget(const std::filesystem::path& target,
                           const std::vector<std::filesystem::path>& refused);

/// The mode a finished file of this access gets under the process's umask.
mode_t finishedMode(OutputAccess access);

}  // namespace quillet
