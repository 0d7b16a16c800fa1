#include "cli/LibraryStderr.h"

#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <iostream>
#include <sstream>
#include <string_view>

#include "cli/ToolMessages.h"
#include "cli/ToolStatus.h"

namespace quillet {

namespace {

// What a signal that ends the process needs to give the held output back first: a crash report,
// a sanitizer's finding or the last notices before an interrupt must not die in the held file.
std::atomic<int> g_heldFd{-1};
std::atomic<int> g_standardErrorFd{-1};
std::atomic<long long> g_passedOnAtExit{0};

constexpr std::array kEndingSignals{SIGABRT, SIGBUS, SIGFPE,  SIGILL, SIGSEGV,
                                    SIGHUP,  SIGINT, SIGQUIT, SIGTERM};
std::array<struct sigaction, kEndingSignals.size()> g_previousActions{};

// Writes what the held file holds from at on, each line with the tool's prefix. Only
// async-signal-safe calls: the process may be anywhere when this runs.
void writeHeldWithPrefix(int held, off_t at) {
    const std::string_view prefix = kToolPrefix;
    bool lineStart = true;
    std::array<char, 4096> buffer{};
    for (ssize_t n; (n = ::pread(held, buffer.data(), buffer.size(), at)) > 0; at += n) {
        const char* const chunkEnd = buffer.data() + n;
        for (const char* from = buffer.data(); from < chunkEnd;) {
            const char* lineEnd = from;
            while (lineEnd < chunkEnd && *lineEnd != '\n') {
                ++lineEnd;
            }
            const bool newline = lineEnd < chunkEnd;
            const char* const to = newline ? lineEnd + 1 : lineEnd;
            if ((lineStart && ::write(STDERR_FILENO, prefix.data(), prefix.size()) < 0) ||
                ::write(STDERR_FILENO, from, static_cast<std::size_t>(to - from)) < 0) {
                return;
            }
            lineStart = newline;
            from = to;
        }
    }
}

extern "C" void giveBackHeldOutput(int signalNumber) {
    const int held = g_heldFd.exchange(-1);
    const int standardError = g_standardErrorFd.load();
    if (held >= 0 && standardError >= 0) {
        ::dup2(standardError, STDERR_FILENO);
        writeHeldWithPrefix(held, static_cast<off_t>(g_passedOnAtExit.load()));
    }
    // The handler that was there before (the default, or a sanitizer's) then does its own work,
    // now on the real standard error.
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (kEndingSignals[i] == signalNumber) {
            ::sigaction(signalNumber, &g_previousActions[i], nullptr);
        }
    }
    ::raise(signalNumber);
}

void giveBackOnEndingSignals() {
    struct sigaction action {};
    action.sa_handler = giveBackHeldOutput;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        ::sigaction(kEndingSignals[i], &action, &g_previousActions[i]);
    }
}

void restorePreviousActions() {
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        ::sigaction(kEndingSignals[i], &g_previousActions[i], nullptr);
    }
}

}  // namespace

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
        return;
    }
    g_standardErrorFd = m_standardError;
    g_heldFd = ::fileno(m_held);
    giveBackOnEndingSignals();
}

LibraryStderr::~LibraryStderr() {
    m_stream.flush();
    std::cerr.flush();
    std::fflush(stderr);
    if (m_held == nullptr) {
        return;
    }
    restorePreviousActions();
    g_heldFd = -1;
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
    // A partial line kept here is not yet out: a crash gives it back from the held file.
    g_passedOnAtExit = m_passedOn - static_cast<long long>(m_partialLine.size());
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
