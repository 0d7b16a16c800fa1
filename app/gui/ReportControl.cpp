#include "gui/ReportControl.h"

#include <QToolBar>
#include <optional>

#include "adapters/BusyCursor.h"
#include "gui/ReportPreview.h"
#include "render/ReportExport.h"
#include "report/ReportCsv.h"
#include "runtime/RuntimeError.h"
#include "ui/MessageBox.h"

namespace quillet {

namespace {

constexpr int kInvalidPropertyValue = 380;

constexpr const char* kNotPrepared =
    "There is no schedule report yet: press Calculate to compute a schedule first.";
constexpr const char* kCannotMake = "The schedule report cannot be made.\n\n";

/// A title set through the control is shown as it is, braces included.
std::string literalTemplate(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out.push_back(c);
        if (c == '{' || c == '}') {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace

void ReportControl::invoke(int dispatchId) {
    if (dispatchId != kReset) {
        throw RuntimeError::propertyNotSupported();
    }
    m_windowState = kWindowNormal;
    m_windowControls = true;
    m_title.clear();
    m_reportFile.clear();
}

void ReportControl::setProperty(int dispatchId, const Variant& value) {
    switch (dispatchId) {
        case kWindowState: {
            const std::int16_t state = value.toInteger();
            if (state < kWindowNormal || state > kWindowMaximised) {
                throw RuntimeError(kInvalidPropertyValue, "Invalid property value");
            }
            m_windowState = state;
            return;
        }
        case kWindowControls:
            m_windowControls = value.toBool();
            return;
        case kTitle:
            m_title = value.toString();
            return;
        case kReportFile:
            m_reportFile = value.toString();
            return;
        default:
            throw RuntimeError::propertyNotSupported();
    }
}

Variant ReportControl::property(int dispatchId) const {
    switch (dispatchId) {
        case kWindowState:
            return Variant(static_cast<std::int16_t>(m_windowState));
        case kWindowControls:
            return Variant(m_windowControls);
        case kTitle:
            return Variant(m_title);
        case kReportFile:
            return Variant(m_reportFile.string());
        default:
            throw RuntimeError::propertyNotSupported();
    }
}

void ReportControl::setCalculation(const ReportCalculation& calculation) {
    m_calculation = calculation;
}

void ReportControl::setSchedule(StoredSchedule schedule) {
    m_schedule = std::make_shared<const StoredSchedule>(std::move(schedule));
}

void ReportControl::clear() {
    invoke(kReset);
    m_calculation.reset();
    m_schedule.reset();
}

std::optional<ReportContent> ReportControl::load() const {
    if (!isPrepared()) {
        MsgBox(kNotPrepared);
        return std::nullopt;
    }
    try {
        ReportContent content = loadReportContent(m_reportFile, m_calculation, m_schedule);
        if (!m_title.empty()) {
            content.definition.title = literalTemplate(m_title);
        }
        return content;
    } catch (const ReportFailure& failure) {
        MsgBox(std::string(kCannotMake) + failure.what());
        return std::nullopt;
    }
}

bool ReportControl::printPreview(QWidget* parent) {
    // Reading the definition and laying out the pages of a long schedule takes a moment; the
    // open preview then waits for the user with the ordinary cursor.
    std::optional<BusyCursor> preparing(std::in_place);
    const auto content = load();
    if (!content) {
        return false;
    }
    ReportPreviewDialog dialog(*content, parent);
    dialog.setWindowTitle(QStringLiteral("Print Preview - ") +
                          QString::fromStdString(
                              expandTemplate(content->definition.title, documentValues(*content))));
    if (m_windowState == kWindowMaximised) {
        dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    }
    dialog.toolBar()->setVisible(m_windowControls);
    preparing.reset();
    dialog.exec();
    return true;
}

bool ReportControl::exportPdf(const std::filesystem::path& file) {
    const auto content = load();
    if (!content) {
        return false;
    }
    std::string error;
    if (!writeReportPdf(*content, file, error)) {
        MsgBox(error);
        return false;
    }
    return true;
}

bool ReportControl::exportCsv(const std::filesystem::path& file) {
    // The CSV is quillet-schedule's file format: it needs the rows, not the definition.
    if (!isPrepared()) {
        MsgBox(kNotPrepared);
        return false;
    }
    std::string error;
    if (!writeReportCsv(*m_schedule, file, error)) {
        MsgBox(error);
        return false;
    }
    return true;
}

}  // namespace quillet
