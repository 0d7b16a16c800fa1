#pragma once
// The print preview of the report: pages drawn only when they scroll into view, so the first page
// of even the longest schedule shows at once and the window never waits for the rest.

#include <QDialog>
#include <memory>

#include "render/ScheduleReport.h"

class QScrollArea;
class QToolBar;

namespace quillet {

class ReportPageView;

/// \brief A modal preview of content with a toolbar (zoom, print). The content must outlive it.
class ReportPreviewDialog : public QDialog {
    Q_OBJECT

public:
    ReportPreviewDialog(const ReportContent& content, QWidget* parent = nullptr);
    ~ReportPreviewDialog() override;

    int pageCount() const;
    /// How many pages have been drawn so far (each at most once per zoom level).
    int pagesDrawn() const;
    QToolBar* toolBar() const { return m_toolBar; }

private:
    void print();

    const ReportContent& m_content;
    QToolBar* m_toolBar = nullptr;
    QScrollArea* m_scroll = nullptr;
    ReportPageView* m_view = nullptr;
};

}  // namespace quillet
