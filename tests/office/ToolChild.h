#pragma once
// A program of the build (quillet-schedule unless told) in a child process of its own: a fresh
// driver manager (which keeps the system folder it read first for the life of a process), an
// environment of the test's choosing, and file permissions that hold even when the tests run as
// root. The durability tests kill such children mid-run.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace quillet::testing {

struct ChildRun {
    int status = -1;  ///< exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
};

/// Environment changes for the child: a value sets the variable, nothing unsets it.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

/// A program built with the tests' programs.
inline std::filesystem::path builtProgram(const std::string& name) {
    if (const char* bin = std::getenv("QUILLET_BIN_DIR"); bin != nullptr && *bin != '\0') {
        return std::filesystem::path(bin) / name;
    }
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

/// A started child; wait() collects it.
class ToolChild {
public:
    ToolChild(const std::vector<std::string>& args, const EnvironmentChanges& changes,
              const std::filesystem::path& scratch,
              const std::filesystem::path& executable = builtProgram("quillet-schedule")) {
        static int serial = 0;
        const std::string stem =
            "child-" + std::to_string(::getpid()) + "-" + std::to_string(++serial);
        m_out = scratch / (stem + ".out");
        m_err = scratch / (stem + ".err");
        const std::string program = executable.string();
        m_pid = ::fork();
        if (m_pid != 0) {
            return;
        }
        const int out = ::open(m_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0) {
            ::_exit(126);
        }
        for (const auto& [name, value] : changes) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
        // Root keeps its uid but loses, also across exec, what lets it write regardless of
        // permissions.
        if (::geteuid() == 0) {
            for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
                if (::prctl(PR_CAPBSET_DROP, capability, 0, 0, 0) != 0) {
                    ::_exit(125);
                }
            }
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }

    void kill() const { ::kill(m_pid, SIGKILL); }

    ChildRun wait() {
        ChildRun run;
        int status = 0;
        if (::waitpid(m_pid, &status, 0) == m_pid && WIFEXITED(status)) {
            run.status = WEXITSTATUS(status);
        }
        run.out = slurp(m_out);
        run.err = slurp(m_err);
        std::error_code ignored;
        std::filesystem::remove(m_out, ignored);
        std::filesystem::remove(m_err, ignored);
        return run;
    }

private:
    static std::string slurp(const std::filesystem::path& file) {
        return (std::ostringstream() << std::ifstream(file).rdbuf()).str();
    }

    pid_t m_pid = -1;
    std::filesystem::path m_out;
    std::filesystem::path m_err;
};

inline ChildRun runToolChild(const std::vector<std::string>& args,
                             const EnvironmentChanges& changes,
                             const std::filesystem::path& scratch) {
    return ToolChild(args, changes, scratch).wait();
}

/// quillet-office-desk saving one mail record per subject into "det"; its status counts the
/// failed saves.
inline ChildRun runDeskChild(const std::vector<std::string>& subjects,
                             const EnvironmentChanges& changes,
                             const std::filesystem::path& scratch) {
    return ToolChild(subjects, changes, scratch, builtProgram("quillet-office-desk")).wait();
}

/// What a shell command prints on stdout.
inline std::string commandOutput(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    std::string out;
    std::array<char, 512> buffer{};
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr) {
        out += buffer.data();
    }
    return out;
}

/// Every line of the tool's diagnostics carries its prefix.
inline void expectEveryLinePrefixed(const std::string& err) {
    std::istringstream lines(err);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(line.rfind("quillet-schedule: ", 0), 0u) << line;
    }
}

}  // namespace quillet::testing
