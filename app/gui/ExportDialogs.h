#pragma once
// The file dialogs of the report's exports: the folder they open in, the name they suggest, and
// the question before an existing file is replaced.

#include <QString>
#include <filesystem>
#include <optional>

#include "report/ReportCalculation.h"

class QSettings;
class QWidget;

namespace quillet {

/// \brief What one export writes: its dialog's caption, the file suffix and the dialog's filter.
struct ExportKind {
    QString caption;  ///< "Export PDF"
    QString suffix;   ///< "pdf", without the dot
    QString filter;   ///< "PDF files (*.pdf)"
};

/// \brief A file name that tells one loan's export from another's:
/// "loan-1000000-120m-6pct.pdf" for 1000000 over 120 months at 6 %. The amounts are written in
/// the general number form ("250000.50" gives "250000.5"); without a calculation the name is
/// "loan-schedule.<suffix>".
QString suggestedExportName(const std::optional<ReportCalculation>& calculation,
                            const QString& suffix);

/// \brief The file a save dialog's answer names once the suffix is added.
struct ExportTarget {
    QString file;
    /// True when the suffix was added here and a file of that name exists: the dialog asked
    /// about (or saw) another name, so whether to replace it has not been asked yet.
    bool askBeforeReplacing = false;
};

/// Adds ".suffix" to chosen unless it already ends so (in any case), and says whether the file
/// it then names still needs the question before it is replaced.
ExportTarget exportTarget(const QString& chosen, const QString& suffix);

/// \brief The folder an export dialog opens in: the one the last export went to while it still
/// exists, else the user's documents folder, else the home folder.
QString exportFolder(const QSettings& settings);
/// Remembers the folder of file for the next export dialog.
void rememberExportFolder(QSettings& settings, const QString& file);

/// \brief Asks where to write an export: the dialog opens in exportFolder() with the suggested
/// name, the suffix is added before the overwrite check, and an existing file is replaced only
/// after a yes. Empty when the user cancels. The folder is remembered in the user's
/// configuration folder ($XDG_CONFIG_HOME/quillet/quillet.conf).
std::filesystem::path askExportFile(QWidget* parent, const ExportKind& kind,
                                    const std::optional<ReportCalculation>& calculation);

/// Tells the user where the written file went.
void announceExport(const ExportKind& kind, const std::filesystem::path& file);

}  // namespace quillet
