#include "gui/ReportPreview.h"

#include <QAction>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>
#include <list>
#include <utility>

namespace quillet {

/// The pages one above the other; each is drawn into an image when first seen at a zoom.
class ReportPageView : public QWidget {
public:
    ReportPageView(const ReportContent& content, QWidget* parent)
        : QWidget(parent), m_pages(content, reportPageLayout(content.definition)) {
        resizeToPages();
    }

    int pageCount() const { return m_pages.pageCount(); }
    int pagesDrawn() const { return m_drawn; }

    void setZoom(double zoom) {
        m_zoom = std::clamp(zoom, 0.25, 4.0);
        m_cache.clear();
        resizeToPages();
        update();
    }
    double zoom() const { return m_zoom; }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.fillRect(event->rect(), palette().color(QPalette::Dark));
        const QSize paper = paperPixels();
        const int pitch = paper.height() + kGap;
        const int first = std::max(0, (event->rect().top() - kGap) / pitch);
        const int last = std::min(pageCount() - 1, event->rect().bottom() / pitch);
        for (int page = first; page <= last; ++page) {
            const QPoint at((width() - paper.width()) / 2, kGap + page * pitch);
            painter.drawImage(at, pageImage(page));
        }
    }

private:
    static constexpr int kGap = 12;
    static constexpr std::size_t kCachedPages = 8;

    /// The resolution of the paper at the zoom (a point is a point at 100 %).
    double dotsPerInch() const { return m_zoom * logicalDpiX(); }
    QSize paperPixels() const { return m_pages.paperPixels(dotsPerInch()); }

    void resizeToPages() {
        const QSize paper = paperPixels();
        setMinimumSize(paper.width() + 2 * kGap, kGap + pageCount() * (paper.height() + kGap));
    }

    const QImage& pageImage(int page) {
        for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
            if (it->first == page) {
                m_cache.splice(m_cache.begin(), m_cache, it);
                return m_cache.front().second;
            }
        }
        QImage image = m_pages.pageImage(page, dotsPerInch());
        ++m_drawn;
        m_cache.emplace_front(page, std::move(image));
        if (m_cache.size() > kCachedPages) {
            m_cache.pop_back();
        }
        return m_cache.front().second;
    }

    ReportPages m_pages;
    double m_zoom = 1.0;
    int m_drawn = 0;
    std::list<std::pair<int, QImage>> m_cache;
};

ReportPreviewDialog::ReportPreviewDialog(const ReportContent& content, QWidget* parent)
    : QDialog(parent), m_content(content) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_toolBar = new QToolBar(this);
    layout->addWidget(m_toolBar);
    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignHCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_view = new ReportPageView(content, m_scroll);
    m_scroll->setWidget(m_view);
    m_scroll->setWidgetResizable(true);
    m_scroll->verticalScrollBar()->setSingleStep(40);
    layout->addWidget(m_scroll);

    m_toolBar->addAction(QStringLiteral("Zoom In"), this,
                         [this] { m_view->setZoom(m_view->zoom() * 1.25); });
    m_toolBar->addAction(QStringLiteral("Zoom Out"), this,
                         [this] { m_view->setZoom(m_view->zoom() / 1.25); });
    m_toolBar->addSeparator();
    m_toolBar->addAction(QStringLiteral("Print..."), this, [this] { print(); });
    resize(900, 1000);
}

ReportPreviewDialog::~ReportPreviewDialog() = default;

int ReportPreviewDialog::pageCount() const {
    return m_view->pageCount();
}

int ReportPreviewDialog::pagesDrawn() const {
    return m_view->pagesDrawn();
}

void ReportPreviewDialog::print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(reportPageLayout(m_content.definition));
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) {
        renderReport(m_content, printer);
    }
}

}  // namespace quillet
