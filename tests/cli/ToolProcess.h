#pragma once
// Runs the built quillet-schedule as a child process, optionally under a file-size limit (with
// SIGXFSZ ignored, so writes fail instead of killing it). File permissions hold for the child
// even when the tests run as root: it gives up the capabilities that override them.

#include <fcntl.h>
#include <linux/capability.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillet::testing {

/// The child's status when it could not give up root's override of file permissions.
inline constexpr int kCannotDropPrivileges = 125;

struct ProcessRun {
    int status = -1;  ///< exit status, or -1 when the child did not exit normally
    std::string out;
    std::string err;
};

struct ProcessSetup {
    std::filesystem::path dataHome;        ///< XDG_DATA_HOME of the child
    std::optional<rlim_t> fileSizeLimit;   ///< RLIMIT_FSIZE in bytes
    std::filesystem::path standardOutput;  ///< a file for stdout instead of a pipe
};

/// The built tool: in QUILLET_BIN_DIR when set, else beside this test program (both go to bin/).
inline std::filesystem::path toolProgram() {
    if (const char* bin = std::getenv("QUILLET_BIN_DIR"); bin != nullptr && *bin != '\0') {
        return std::filesystem::path(bin) / "quillet-schedule";
    }
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "quillet-schedule";
}

inline ProcessRun runToolProcess(const std::vector<std::string>& args, const ProcessSetup& setup) {
    // Everything the child needs is made before fork: only async-signal-safe calls follow it.
    const std::string program = toolProgram().string();
    std::vector<std::string> argvText{program};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvText) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> envText{"XDG_DATA_HOME=" + setup.dataHome.string(), "LC_ALL=C.UTF-8",
                                     "QT_QPA_PLATFORM=offscreen",
                                     "HOME=" + setup.dataHome.string()};
    std::vector<char*> envp;
    for (std::string& e : envText) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    int outPipe[2];
    int errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    int outFile = -1;
    if (!setup.standardOutput.empty()) {
        outFile = ::open(setup.standardOutput.c_str(), O_WRONLY | O_CLOEXEC);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(outFile >= 0 ? outFile : outPipe[1], STDOUT_FILENO);
        ::dup2(errPipe[1], STDERR_FILENO);
        if (setup.fileSizeLimit) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{*setup.fileSizeLimit, *setup.fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
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
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (outFile >= 0) {
        ::close(outFile);
    }
    ProcessRun run;
    std::array<pollfd, 2> fds{{{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}}};
    std::array<std::string*, 2> sinks{&run.out, &run.err};
    int open = 2;
    while (open > 0 && ::poll(fds.data(), fds.size(), 60000) > 0) {
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            char buffer[65536];
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(got));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace quillet::testing
