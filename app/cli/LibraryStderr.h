#pragma once
/// \file
/// \brief quillet-schedule's standard error, with what libraries write there on their own made
/// into the tool's diagnostic lines.

#include <cstdio>
#include <ostream>
#include <streambuf>
#include <string>

namespace quillet {

/// \brief For its lifetime, what the libraries the tool loads write straight to the process's
/// standard error (a database client's notices while it connects, a toolkit's warnings) is held
/// back and passed on as diagnostic lines, each with the tool's prefix, in the order it came
/// relative to the tool's own diagnostics. Those are written to stream().
class LibraryStderr {
public:
    LibraryStderr();
    /// Restores standard error and passes on what is still held back.
    ~LibraryStderr();
    LibraryStderr(const LibraryStderr&) = delete;
    LibraryStderr& operator=(const LibraryStderr&) = delete;

    /// The tool's own diagnostics: the process's standard error.
    std::ostream& stream() { return m_stream; }

private:
    class Sink : public std::streambuf {
    public:
        explicit Sink(LibraryStderr& owner) : m_owner(owner) {}

    protected:
        int overflow(int c) override;
        std::streamsize xsputn(const char* s, std::streamsize n) override;
        int sync() override;

    private:
        LibraryStderr& m_owner;
        std::string m_pending;
    };

    /// Writes the complete lines held back since the last call (all of it, when final).
    void passOnHeld(bool final);
    void writeOut(const std::string& text) const;

    int m_standardError = -1;  ///< the process's standard error, while fd 2 is the held file
    std::FILE* m_held = nullptr;
    long long m_passedOn = 0;  ///< bytes of the held file already passed on
    std::string m_partialLine;
    Sink m_sink;
    std::ostream m_stream;
};

}  // namespace quillet
