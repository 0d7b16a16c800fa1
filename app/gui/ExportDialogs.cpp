#include "gui/ExportDialogs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <string>

#include "runtime/Numbers.h"
#include "ui/MessageBox.h"

namespace quillet {

namespace {

constexpr const char* kFolderKey = "export/lastFolder";

// Message box values for a Yes / No question; Yes comes back as 6.
constexpr int kYesNoQuestion = 4 | 32;
constexpr int kYes = 6;

/// One input of the name: its value in the general number form, so "7.50", " 7.5" and "75e-1"
/// all name the same loan; only characters every file system takes are kept.
std::string namePart(const std::string& text) {
    const auto value = parseNumber(text);
    std::string part = value ? formatGeneral(*value) : text;
    for (char& c : part) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                           (c >= 'a' && c <= 'z') || c == '.' || c == '+' || c == '-';
        if (!plain) {
            c = '_';
        }
    }
    return part;
}

QSettings userSettings() {
    // NOTE: on Linux the native user scope is an INI file under $XDG_CONFIG_HOME (~/.config).
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("quillet"),
                     QStringLiteral("quillet"));
}

// The settings name the folders the user exports to: the folder and file are the user's alone,
// whatever the umask. The folder is made private before the file is written into it.
void makeSettingsFolderPrivate(const QSettings& settings) {
    const QString folder = QFileInfo(settings.fileName()).absolutePath();
    QDir().mkpath(QFileInfo(folder).absolutePath());
    const QByteArray name = QFile::encodeName(folder);
    ::mkdir(name.constData(), 0700);
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && info.st_uid == ::geteuid()) {
        ::fchmod(fd, 0700);
    }
    if (fd >= 0) {
        ::close(fd);
    }
}

void makeSettingsFilePrivate(const QSettings& settings) {
    const int fd = ::open(QFile::encodeName(settings.fileName()).constData(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()) {
        ::fchmod(fd, 0600);
    }
    if (fd >= 0) {
        ::close(fd);
    }
}

bool confirmReplace(const QString& file, const QString& caption) {
    const std::string prompt =
        QFileInfo(file).fileName().toStdString() + " already exists.\nDo you want to replace it?";
    return MsgBox(prompt, kYesNoQuestion, caption.toStdString()) == kYes;
}

}  // namespace

QString suggestedExportName(const std::optional<ReportCalculation>& calculation,
                            const QString& suffix) {
    if (!calculation) {
        return QStringLiteral("loan-schedule.") + suffix;
    }
    const std::string name = "loan-" + namePart(calculation->amount) + "-" +
                             namePart(calculation->months) + "m-" + namePart(calculation->rate) +
                             "pct.";
    return QString::fromStdString(name) + suffix;
}

ExportTarget exportTarget(const QString& chosen, const QString& suffix) {
    const QString ending = QLatin1Char('.') + suffix;
    if (chosen.endsWith(ending, Qt::CaseInsensitive)) {
        return {chosen, false};
    }
    const QString file = chosen + ending;
    return {file, QFileInfo::exists(file)};
}

QString exportFolder(const QSettings& settings) {
    const QString remembered = settings.value(QLatin1String(kFolderKey)).toString();
    if (!remembered.isEmpty() && QDir(remembered).exists()) {
        return remembered;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists()) {
        return documents;
    }
    return QDir::homePath();
}

void rememberExportFolder(QSettings& settings, const QString& file) {
    makeSettingsFolderPrivate(settings);
    settings.setValue(QLatin1String(kFolderKey), QFileInfo(file).absolutePath());
    settings.sync();
    makeSettingsFilePrivate(settings);
}

std::filesystem::path askExportFile(QWidget* parent, const ExportKind& kind,
                                    const std::optional<ReportCalculation>& calculation) {
    QSettings settings = userSettings();
    QFileDialog dialog(
        parent, kind.caption,
        QDir(exportFolder(settings)).filePath(suggestedExportName(calculation, kind.suffix)),
        kind.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // Qt's own dialog adds the suffix before it asks about replacing; a desktop's dialog may
    // not, which exportTarget() catches.
    dialog.setDefaultSuffix(kind.suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const ExportTarget target = exportTarget(dialog.selectedFiles().front(), kind.suffix);
    if (target.askBeforeReplacing && !confirmReplace(target.file, kind.caption)) {
        return {};
    }
    rememberExportFolder(settings, target.file);
    // The file system's own bytes for the name, as every other file name is kept.
    return std::filesystem::path(QFile::encodeName(target.file).toStdString());
}

void announceExport(const ExportKind& kind, const std::filesystem::path& file) {
    const QString shown = QDir::toNativeSeparators(
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(file.string()))).absoluteFilePath());
    MsgBox("The schedule report was saved as\n" + shown.toStdString(), vbInformation,
           kind.caption.toStdString());
}

}  // namespace quillet
