// The export dialogs' decisions: the name they suggest, the suffix added before the overwrite
// check, and the folder they open in.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "gui/ExportDialogs.h"

namespace quillet::testing {
namespace {

ReportCalculation loan(const char* amount, const char* months, const char* rate) {
    return ReportCalculation{amount, months, rate, "2", Date{2024, 1, 1}, "0"};
}

TEST(ExportName, TellsTheLoanApartByItsTermsAsNumbers) {
    EXPECT_EQ(suggestedExportName(loan("1000000", "120", "6"), "pdf"),
              "loan-1000000-120m-6pct.pdf");
    // The same loan typed differently gets the same name; texts are never pasted in as typed.
    EXPECT_EQ(suggestedExportName(loan(" 250000.50", "36 ", "75e-1"), "csv"),
              "loan-250000.5-36m-7.5pct.csv");
    EXPECT_EQ(suggestedExportName(std::nullopt, "pdf"), "loan-schedule.pdf");
}

// "loan" names the existing loan.pdf only once the suffix is on: the dialog never asked about
// replacing it. Typed with its suffix, in any case, the dialog itself saw the name and asked.
TEST(ExportTarget, TheSuffixIsAddedBeforeTheQuestionAboutReplacing) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir dir(folder.path());
    ASSERT_TRUE(QFile(dir.filePath("loan.pdf")).open(QIODevice::WriteOnly));
    const struct {
        const char* typed;
        const char* suffix;
        const char* file;
        bool ask;
    } cases[] = {
        {"loan", "pdf", "loan.pdf", true},          {"loan.pdf", "pdf", "loan.pdf", false},
        {"LOAN.PDF", "pdf", "LOAN.PDF", false},     {"new", "pdf", "new.pdf", false},
        {"loan.pdf", "csv", "loan.pdf.csv", false},  // another export's suffix is not this one's
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " as " + c.suffix);
        const ExportTarget target = exportTarget(dir.filePath(c.typed), c.suffix);
        EXPECT_EQ(target.file, dir.filePath(c.file));
        EXPECT_EQ(target.askBeforeReplacing, c.ask);
    }
}

TEST(ExportFolder, OpensWhereTheLastExportWentWhileThatFolderExists) {
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    QSettings settings(QDir(config.path()).filePath("quillet.conf"), QSettings::IniFormat);
    const QString fallback = exportFolder(settings);
    EXPECT_TRUE(QDir(fallback).exists());

    const QString used = QDir(config.path()).filePath("exports");
    ASSERT_TRUE(QDir().mkpath(used));
    rememberExportFolder(settings, QDir(used).filePath("loan-1000-12m-5pct.pdf"));
    QSettings reread(settings.fileName(), QSettings::IniFormat);
    EXPECT_EQ(exportFolder(reread), used);

    ASSERT_TRUE(QDir(used).removeRecursively());
    EXPECT_EQ(exportFolder(reread), fallback);
}

// The settings name where the user's exports go: their folder and file are the user's alone,
// even under umask 000 and when an older version left them open to others.
TEST(ExportFolder, TheSettingsFolderAndFileAreTheUsersAloneWhateverTheUmask) {
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QString folder = QDir(config.path()).filePath("quillet");
    const mode_t previous = ::umask(0);
    for (const bool existing : {false, true}) {
        SCOPED_TRACE(existing);
        if (existing) {
            ::chmod(QFile::encodeName(folder).constData(), 0777);
            ::chmod(QFile::encodeName(folder + "/quillet.conf").constData(), 0666);
        }
        QSettings settings(folder + "/quillet.conf", QSettings::IniFormat);
        rememberExportFolder(settings, QDir(config.path()).filePath("loan.pdf"));
        EXPECT_EQ(QFile(settings.fileName()).permissions(),
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0700u);
    }
    ::umask(previous);
}

}  // namespace
}  // namespace quillet::testing
