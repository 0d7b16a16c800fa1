// A screen narrower than the window: the window stays centred, so its left edge lies off the
// screen. The screen is set up by running this test program again on a configured offscreen
// display.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>

#include "gui/Form1.h"
#include "gui/Twips.h"

namespace quillet::test {
namespace {

constexpr const char* kChildMark = "QUILLET_NARROW_SCREEN_CHILD";
constexpr int kScreenWidth = 600;

void checkOnTheNarrowScreen() {
    Form1 window;
    window.show();
    const QRect screen = window.screen()->geometry();
    ASSERT_EQ(screen.width(), kScreenWidth);
    const QRect outer = window.frameGeometry();
    EXPECT_LT(outer.left(), 0);
    EXPECT_NEAR(outer.left(), (screen.width() - outer.width()) / 2.0, 1.0);
    EXPECT_EQ(outer.top(), 0);
    EXPECT_EQ(outer.width(), twipsToPixels(11952, window.logicalDpiX()));
}

TEST(NarrowScreen, WindowLeftEdgeGoesBelowZero) {
    if (qEnvironmentVariableIsSet(kChildMark)) {
        checkOnTheNarrowScreen();
        return;
    }
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        GTEST_SKIP() << "needs the offscreen platform to configure a screen";
    }
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString config = folder.filePath(QStringLiteral("screen.json"));
    {
        QFile file(config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral(R"({"screens":[{"name":"narrow","x":0,"y":0,"width":%1,)"
                                  R"("height":480,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})")
                       .arg(kScreenWidth)
                       .toUtf8());
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildMark), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       QStringLiteral("offscreen:configfile=") + config);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=NarrowScreen.WindowLeftEdgeGoesBelowZero")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromLocal8Bit(child.readAll());
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

}  // namespace
}  // namespace quillet::test
