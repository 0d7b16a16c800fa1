#include "cli/LibraryStderr.h"

#include <unistd.h>

#include <array>
#include <iostream>
#include <sstream>

#include "cli/ToolMessages.h"

namespace quillet {

// NOTE: the PostgreSQL client library prints the server's notices during a connection's start
// ("WARNING:  invalid value for parameter ...", from a setting of the role or the database) to
// file descriptor 2 itself, before the driver hands it anything; the driver gives no way to take
// them. A line without the tool's prefix breaks the promise that every diagnostic line carries
// it, so standard error is pointed at a file of our own for the run and read back.
LibraryStderr::LibraryStderr() : m_sink(*this), m_stream(&m_sink) {
    std::cerr.flush();
    std::fflush(stderr);
    m_held = std::tmpfile();
    if (m_held == nullptr) {
        return;
    }
    m_standardError = ::dup(STDERR_FILENO);
    if (m_standardError < 0 || ::dup2(::fileno(m_held), STDERR_FILENO) < 0) {
        if (m_standardError >= 0) {
            ::close(m_standardError);
            m_standardError = -1;
        }
        std::fclose(m_held);
        m_held = nullptr;
    }
}

LibraryStderr::~LibraryStderr() {
    m_stream.flush();
    std::cerr.flush();
    std::fflush(stderr);
    if (m_held == nullptr) {
        return;
    }
    ::dup2(m_standardError, STDERR_FILENO);
    passOnHeld(true);
    ::close(m_standardError);
    std::fclose(m_held);
}

void LibraryStderr::writeOut(const std::string& text) const {
    const int target = m_standardError >= 0 ? m_standardError : STDERR_FILENO;
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(target, text.data() + written, text.size() - written);
        if (n <= 0) {
            return;  // standard error is gone: nothing else can be told
        }
        written += static_cast<std::size_t>(n);
    }
}

void LibraryStderr::passOnHeld(bool final) {
    if (m_held == nullptr) {
        return;
    }
    std::cerr.flush();
    std::fflush(stderr);
    std::array<char, 4096> buffer{};
    for (;;) {
        const ssize_t n =
            ::pread(::fileno(m_held), buffer.data(), buffer.size(), static_cast<off_t>(m_passedOn));
        if (n <= 0) {
            break;
        }
        m_passedOn += n;
        m_partialLine.append(buffer.data(), static_cast<std::size_t>(n));
    }
    const std::size_t end = final ? m_partialLine.size() : m_partialLine.rfind('\n') + 1;
    if (end == 0 || m_partialLine.empty()) {
        return;
    }
    std::string lines = m_partialLine.substr(0, end);
    m_partialLine.erase(0, end);
    if (lines.back() == '\n') {
        lines.pop_back();
    }
    std::ostringstream prefixed;
    writeDiagnostic(prefixed, lines);
    writeOut(prefixed.str());
}

int LibraryStderr::Sink::overflow(int c) {
    if (c != traits_type::eof()) {
        m_pending.push_back(static_cast<char>(c));
    }
    return traits_type::not_eof(c);
}

std::streamsize LibraryStderr::Sink::xsputn(const char* s, std::streamsize n) {
    m_pending.append(s, static_cast<std::size_t>(n));
    return n;
}

// What the libraries wrote before this diagnostic goes out before it.
int LibraryStderr::Sink::sync() {
    m_owner.passOnHeld(false);
    m_owner.writeOut(m_pending);
    m_pending.clear();
    return 0;
}

}  // namespace quillet
