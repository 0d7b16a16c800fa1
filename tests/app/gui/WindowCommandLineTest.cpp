// The window's program asked for its version or help: an answer and no window.

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <sstream>

#include "gui/WindowCommandLine.h"

namespace quillet::testing {
namespace {

TEST(WindowCommandLine, VersionAndHelpAreAnsweredOtherArgumentsGoToQt) {
    std::ostringstream out;
    EXPECT_EQ(answerWithoutWindow({"--version"}, "1.2.3", out), 0);
    EXPECT_EQ(out.str(), "quillet 1.2.3\n");
    for (const char* help : {"--help", "-h"}) {
        std::ostringstream usage;
        EXPECT_EQ(answerWithoutWindow({"-style", "Fusion", help}, "1.2.3", usage), 0);
        EXPECT_TRUE(usage.str().starts_with("Usage: quillet")) << usage.str();
        EXPECT_NE(usage.str().find("--version"), std::string::npos);
    }
    std::ostringstream nothing;
    EXPECT_EQ(answerWithoutWindow({"-platform", "offscreen"}, "1.2.3", nothing), std::nullopt);
    EXPECT_EQ(answerWithoutWindow({}, "1.2.3", nothing), std::nullopt);
    EXPECT_EQ(nothing.str(), "");
}

TEST(WindowCommandLine, QtGetsTheApplicationIdAsTheWindowsNameUnlessOneIsGiven) {
    using Line = std::vector<std::string>;
    EXPECT_EQ(qtCommandLine("quillet", {}, "org.example.quillet"),
              (Line{"quillet", "-name", "org.example.quillet"}));
    EXPECT_EQ(qtCommandLine("/usr/bin/quillet", {"-style", "Fusion"}, "id"),
              (Line{"/usr/bin/quillet", "-name", "id", "-style", "Fusion"}));
    EXPECT_EQ(qtCommandLine("quillet", {"-name", "mine"}, "id"),
              (Line{"quillet", "-name", "mine"}));
}

TEST(WindowCommandLine, TheBuiltProgramAnswersWithoutADisplayAndExits) {
    const std::filesystem::path program = std::filesystem::path(QUILLET_TEST_BIN_DIR) / "quillet";
    if (!std::filesystem::exists(program)) {
        GTEST_SKIP() << "the window's program is not built: " << program;
    }
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    for (const char* question : {"--version", "--help"}) {
        QProcess child;
        // No display, no platform, no runtime folder: a window could not even start.
        child.setEnvironment({"HOME=" + home.path(), "LC_ALL=C.UTF-8"});
        child.start(QString::fromStdString(program.string()), {QString::fromLatin1(question)});
        ASSERT_TRUE(child.waitForFinished(30000)) << question;
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0) << question;
        EXPECT_FALSE(child.readAllStandardOutput().isEmpty()) << question;
        EXPECT_EQ(child.readAllStandardError(), QByteArray()) << question;
    }
}

}  // namespace
}  // namespace quillet::testing
