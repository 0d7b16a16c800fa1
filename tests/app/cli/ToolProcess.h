#pragma once
// Runs quillet-schedule in this process, or the built program as a child process, optionally under
// a file-size limit (with SIGXFSZ ignored, so writes fail instead of killing it). File permissions
// hold for the child even when the tests run as root: it gives up the capabilities that override
// them.

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ScheduleTool.h"

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

inline ToolRun runTool(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runScheduleTool(args, out, err);
    return {status, out.str(), err.str()};
}

struct ProcessSetup {
    std::filesystem::path dataHome;          ///< XDG_DATA_HOME of the child
    std::optional<rlim_t> fileSizeLimit;     ///< RLIMIT_FSIZE in bytes
    std::filesystem::path standardOutput;    ///< a file for stdout instead of a pipe
    std::vector<std::string> environment{};  ///< "NAME=value" entries over the usual ones
};

/// Starts the tool as child (under umask when given); the caller waits for it or kills it.
inline void startToolProcess(QProcess& child, const std::vector<std::string>& args,
                             const ProcessSetup& setup, std::optional<mode_t> umask = {}) {
    // The test main points QUILLET_BIN_DIR at the built programs unless it was set already.
    child.setProgram(QString::fromStdString(std::getenv("QUILLET_BIN_DIR")) + "/quillet-schedule");
    QStringList arguments;
    for (const std::string& a : args) {
        arguments << QString::fromStdString(a);
    }
    child.setArguments(arguments);
    const QString home = QString::fromStdString(setup.dataHome.string());
    QStringList environment{"XDG_DATA_HOME=" + home, "HOME=" + home, "LC_ALL=C.UTF-8",
                            "QT_QPA_PLATFORM=offscreen"};
    for (const std::string& entry : setup.environment) {
        environment << QString::fromStdString(entry);  // a later entry overrides an earlier one
    }
    child.setEnvironment(environment);
    if (!setup.standardOutput.empty()) {
        child.setStandardOutputFile(QString::fromStdString(setup.standardOutput.string()),
                                    QIODevice::Append);
    }
    child.setChildProcessModifier([limit = setup.fileSizeLimit, umask] {
        if (umask) {
            ::umask(*umask);
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

inline ToolRun runToolProcess(const std::vector<std::string>& args, const ProcessSetup& setup,
                              std::optional<mode_t> umask = {}) {
    QProcess child;
    startToolProcess(child, args, setup, umask);
    ToolRun run;
    if (child.waitForFinished(60000) && child.exitStatus() == QProcess::NormalExit) {
        run.status = child.exitCode();
    }
    EXPECT_NE(run.status, kCannotDropPrivileges) << "the child kept root's override";
    run.out = child.readAllStandardOutput().toStdString();
    run.err = child.readAllStandardError().toStdString();
    return run;
}

inline std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// The permission bits of file itself (a link's own, not its target's).
inline mode_t modeOf(const std::filesystem::path& file) {
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

}  // namespace quillet::testing
