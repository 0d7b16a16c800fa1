#pragma once
// Runs a program of the build as a child process of its own: a fresh driver manager (which keeps
// the system folder it read first for the life of a process), the environment, umask and file-size
// limit of the test's choosing (with SIGXFSZ ignored, so writes fail instead of killing it), and
// file permissions that hold even when the tests run as root: the child gives up the capabilities
// that override them. Tests may kill a child mid-run.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace quillet::testing {

/// The child's status when it could not give up root's override of file permissions.
inline constexpr int kCannotDropPrivileges = 125;
/// The owner the tests give files planted by someone else (possible as root only).
inline constexpr uid_t kAnotherUser = 65534;

struct ToolRun {
    int status = -1;  ///< exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
};

/// Environment changes for the child: a value sets the variable, nothing unsets it.
using EnvironmentChanges = std::map<std::string, std::optional<std::string>>;

struct ChildSetup {
    /// The child's data home and HOME, in an environment of its own (C.UTF-8, offscreen);
    /// without one the child has the test's environment.
    std::filesystem::path dataHome{};
    std::optional<rlim_t> fileSizeLimit{};   ///< RLIMIT_FSIZE in bytes
    std::filesystem::path standardOutput{};  ///< a file stdout is appended to instead
    EnvironmentChanges environment{};        ///< over the environment above
    std::optional<mode_t> umask{};
    std::string program = "quillet-schedule";  ///< a program of the build
};

/// A program built with the tests' programs.
inline std::filesystem::path builtProgram(const std::string& name) {
    if (const char* bin = std::getenv("QUILLET_BIN_DIR"); bin != nullptr && *bin != '\0') {
        return std::filesystem::path(bin) / name;
    }
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

inline std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// A started child; wait() collects it.
class ToolChild {
public:
    explicit ToolChild(const std::vector<std::string>& args, const ChildSetup& setup = {}) {
        std::string folder =
            (std::filesystem::temp_directory_path() / "quillet-child-XXXXXX").string();
        if (::mkdtemp(folder.data()) != nullptr) {
            m_folder = folder;
        }
        const std::string out = setup.standardOutput.empty() ? (m_folder / "out").string()
                                                             : setup.standardOutput.string();
        const std::string err = (m_folder / "err").string();
        const std::string program = builtProgram(setup.program).string();
        m_pid = ::fork();
        if (m_pid == 0) {
            start(program, args, setup, out, err);
        }
    }

    void kill() const {
        if (m_pid > 0 && !m_status) {
            ::kill(m_pid, SIGKILL);
        }
    }

    bool running() {
        if (m_pid <= 0 || m_status) {
            return false;
        }
        int status = 0;
        const pid_t ended = ::waitpid(m_pid, &status, WNOHANG);
        if (ended == m_pid) {
            m_status = status;
        }
        return ended == 0;
    }

    ToolRun wait() {
        if (int status = 0; !m_status && ::waitpid(m_pid, &status, 0) == m_pid) {
            m_status = status;
        }
        ToolRun run;
        if (m_status && WIFEXITED(*m_status)) {
            run.status = WEXITSTATUS(*m_status);
        }
        m_pid = -1;
        EXPECT_NE(run.status, kCannotDropPrivileges) << "the child kept root's override";
        run.out = contents(m_folder / "out");
        run.err = contents(m_folder / "err");
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
        return run;
    }

private:
    [[noreturn]] static void start(const std::string& program, const std::vector<std::string>& args,
                                   const ChildSetup& setup, const std::string& outFile,
                                   const std::string& errFile) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0666);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0) {
            ::_exit(126);
        }
        if (!setup.dataHome.empty()) {
            ::clearenv();
            for (const char* name : {"XDG_DATA_HOME", "HOME"}) {
                ::setenv(name, setup.dataHome.c_str(), 1);
            }
            ::setenv("LC_ALL", "C.UTF-8", 1);
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        }
        for (const auto& [name, value] : setup.environment) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
        if (setup.umask) {
            ::umask(*setup.umask);
        }
        if (setup.fileSizeLimit) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit bytes{*setup.fileSizeLimit, *setup.fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &bytes);
        }
        // Root keeps its uid but loses, for good (bounding set, so also after exec), what lets
        // it read and write regardless of permissions.
        if (::geteuid() == 0) {
            for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
                if (::prctl(PR_CAPBSET_DROP, capability, 0, 0, 0) != 0) {
                    ::_exit(kCannotDropPrivileges);
                }
            }
        }
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }

    pid_t m_pid = -1;
    std::optional<int> m_status;  ///< the wait status once running() saw the child end
    std::filesystem::path m_folder;
};

inline ToolRun runToolChild(const std::vector<std::string>& args, const ChildSetup& setup = {}) {
    return ToolChild(args, setup).wait();
}

/// The permission bits of file itself (a link's own, not its target's).
inline mode_t modeOf(const std::filesystem::path& file) {
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
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
