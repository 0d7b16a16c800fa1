#pragma once
// Programs of the build started as separate processes, for the tests that need a real second
// process: a crash in the middle of a run, two writers on one store.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace quillet::testing {

/// A program built beside the test programs: in QUILLET_BIN_DIR when set, otherwise in the
/// folder of the running test program.
inline std::filesystem::path builtProgram(const std::string& name) {
    if (const char* folder = std::getenv("QUILLET_BIN_DIR"); folder != nullptr && *folder != 0) {
        return std::filesystem::path(folder) / name;
    }
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

/// True when the suite runs under the address and undefined-behaviour sanitizers, where every
/// program is several times slower; heavy tests then do less of the same work.
inline bool runningSanitized() {
    const char* flag = std::getenv("QUILLET_SANITIZED");
    return flag != nullptr && std::string(flag) == "1";
}

/// \brief One child process running a program with the current environment. Its stdout goes to
/// /dev/null, its stderr to the given file; its stdin is a pipe that release() closes.
class ChildProcess {
public:
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                 const std::filesystem::path& errorFile) {
        int input[2];
        if (::pipe(input) != 0) {
            throw std::runtime_error("pipe failed");
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_addclose(&actions, input[1]);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<std::string> words{program.string()};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        const int rc =
            ::posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        m_input = input[1];
        if (rc != 0) {
            ::close(m_input);
            throw std::runtime_error("cannot start " + program.string());
        }
    }
    ~ChildProcess() {
        release();
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            wait();
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    /// Closes the child's stdin.
    void release() {
        if (m_input >= 0) {
            ::close(m_input);
            m_input = -1;
        }
    }
    void kill() { ::kill(m_pid, SIGKILL); }
    /// Waits for the end; returns the wait status.
    int wait() {
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
        return status;
    }

private:
    pid_t m_pid = -1;
    int m_input = -1;
};

}  // namespace quillet::testing
