#pragma once
// Runs the built quillet-schedule as a child process, optionally under a file-size limit (with
// SIGXFSZ ignored, so writes fail instead of killing it). File permissions hold for the child
// even when the tests run as root: it gives up the capabilities that override them.

#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
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
    std::filesystem::path dataHome;          ///< XDG_DATA_HOME of the child
    std::optional<rlim_t> fileSizeLimit;     ///< RLIMIT_FSIZE in bytes
    std::filesystem::path standardOutput;    ///< a file for stdout instead of a pipe
    std::vector<std::string> environment{};  ///< "NAME=value" entries replacing the usual ones
};

/// The built tool: in QUILLET_BIN_DIR when set, else beside this test program (both go to bin/).
inline std::filesystem::path toolProgram() {
    if (const char* bin = std::getenv("QUILLET_BIN_DIR"); bin != nullptr && *bin != '\0') {
        return std::filesystem::path(bin) / "quillet-schedule";
    }
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "quillet-schedule";
}

/// Starts the tool as child (under umask when given); the caller waits for it or kills it.
inline void startToolProcess(QProcess& child, const std::vector<std::string>& args,
                             const ProcessSetup& setup, std::optional<mode_t> umask = {}) {
    child.setProgram(QString::fromStdString(toolProgram().string()));
    QStringList arguments;
    for (const std::string& a : args) {
        arguments << QString::fromStdString(a);
    }
    child.setArguments(arguments);
    const QString home = QString::fromStdString(setup.dataHome.string());
    QStringList environment{"XDG_DATA_HOME=" + home, "HOME=" + home, "LC_ALL=C.UTF-8",
                            "QT_QPA_PLATFORM=offscreen"};
    for (const std::string& entry : setup.environment) {
        const QString setting = QString::fromStdString(entry);
        const QString name = setting.left(setting.indexOf('=') + 1);
        environment.removeIf([&](const QString& e) { return e.startsWith(name); });
        environment << setting;
    }
    child.setEnvironment(environment);
    if (!setup.standardOutput.empty()) {
        child.setStandardOutputFile(QString::fromStdString(setup.standardOutput.string()),
                                    QIODevice::Append);
    }
    const std::optional<rlim_t> limit = setup.fileSizeLimit;
    const std::optional<mode_t> mask = umask;
    child.setChildProcessModifier([limit, mask] {
        if (mask) {
            ::umask(*mask);
        }
        if (limit) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit bytes{*limit, *limit};
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
    });
    child.start();
}

inline ProcessRun runToolProcess(const std::vector<std::string>& args, const ProcessSetup& setup,
                                 std::optional<mode_t> umask = {}) {
    QProcess child;
    startToolProcess(child, args, setup, umask);
    ProcessRun run;
    if (child.waitForFinished(60000) && child.exitStatus() == QProcess::NormalExit) {
        run.status = child.exitCode();
    }
    run.out = child.readAllStandardOutput().toStdString();
    run.err = child.readAllStandardError().toStdString();
    return run;
}

}  // namespace quillet::testing
