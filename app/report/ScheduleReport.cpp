#include "report/ScheduleReport.h"

#include <QAbstractTextDocumentLayout>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <vector>

#include "report/ReportStyle.h"
#include "runtime/Date.h"

namespace quillet {

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

Qt::Alignment alignmentOf(CellAlignment alignment) {
    switch (alignment) {
        case CellAlignment::Left:
            return Qt::AlignLeft;
        case CellAlignment::Center:
            return Qt::AlignHCenter;
        case CellAlignment::Right:
            return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

QPageSize::PageSizeId pageSizeId(const std::string& paper) {
    if (paper == "A3") {
        return QPageSize::A3;
    }
    if (paper == "A5") {
        return QPageSize::A5;
    }
    if (paper == "Letter") {
        return QPageSize::Letter;
    }
    if (paper == "Legal") {
        return QPageSize::Legal;
    }
    return QPageSize::A4;
}

/// Writes the text of one cell with its alignment, and gives the cell its format when one is given.
void writeCell(QTextTable& table, int row, int column, const QString& text, Qt::Alignment alignment,
               const QTextCharFormat& format, const QTextTableCellFormat* cellFormat = nullptr) {
    QTextTableCell cell = table.cellAt(row, column);
    if (cellFormat != nullptr) {
        cell.setFormat(*cellFormat);
    }
    QTextCursor cursor = cell.firstCursorPosition();
    QTextBlockFormat block = cursor.blockFormat();
    block.setAlignment(alignment);
    cursor.setBlockFormat(block);
    cursor.insertText(text, format);
}

/// A cell format with a solid rule of width (in layout units) at its top and/or bottom.
QTextTableCellFormat ruledCell(double topWidth, double bottomWidth, const QColor& colour,
                               const QColor& shade = {}) {
    QTextTableCellFormat format;
    if (topWidth > 0) {
        format.setTopBorder(topWidth);
        format.setTopBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setTopBorderBrush(colour);
    }
    if (bottomWidth > 0) {
        format.setBottomBorder(bottomWidth);
        format.setBottomBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBottomBorderBrush(colour);
    }
    if (shade.isValid()) {
        format.setBackground(shade);
    }
    return format;
}

/// Builds the document with a cursor; each block of the report is one member.
class DocumentBuilder {
public:
    DocumentBuilder(const ReportContent& content, QTextDocument& document)
        : m_content(content),
          m_definition(content.definition),
          m_values(documentValues(content)),
          m_cursor(&document) {}

    void build() {
        // One edit block: the document is laid out once at the end instead of after every
        // cell, which would make a long schedule quadratic.
        m_cursor.beginEditBlock();
        writeTitles();
        if (m_content.calculation && !m_definition.inputs.empty()) {
            writeInputs();
        }
        writeSchedule();
        m_cursor.endEditBlock();
    }

private:
    static double px(double points) { return reportStyle::layoutLength(points); }
    QString expand(const std::string& text) const { return qt(expandTemplate(text, m_values)); }

    void writeTitles() {
        QTextBlockFormat centred;
        centred.setAlignment(Qt::AlignHCenter);
        QTextCharFormat title;
        title.setFontPointSize(m_definition.fontSize * reportStyle::kTitleScale);
        title.setFontWeight(QFont::Bold);
        m_cursor.setBlockFormat(centred);
        m_cursor.insertText(expand(m_definition.title), title);
        if (!m_definition.subtitle.empty()) {
            QTextCharFormat subtitle;
            subtitle.setFontPointSize(m_definition.fontSize * reportStyle::kSubtitleScale);
            subtitle.setForeground(reportStyle::kMutedText);
            centred.setTopMargin(px(2));
            m_cursor.insertBlock(centred);
            m_cursor.insertText(expand(m_definition.subtitle), subtitle);
        }
    }

    // The loan inputs as label/value pairs, two pairs to a row, in a lightly shaded box.
    void writeInputs() {
        const auto& inputs = m_definition.inputs;
        const int rows = static_cast<int>((inputs.size() + 1) / 2);
        QTextTableFormat format;
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 27),
                                          QTextLength(QTextLength::PercentageLength, 23),
                                          QTextLength(QTextLength::PercentageLength, 27),
                                          QTextLength(QTextLength::PercentageLength, 23)});
        format.setBorder(px(0.75));
        format.setBorderBrush(reportStyle::kRule);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(px(3));
        format.setBackground(reportStyle::kInputsShade);
        format.setTopMargin(px(10));
        format.setBottomMargin(px(4));
        QTextTable* table = m_cursor.insertTable(rows, 4, format);
        QTextCharFormat label;
        label.setForeground(reportStyle::kMutedText);
        QTextCharFormat value;
        value.setFontWeight(QFont::Bold);
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            const int row = static_cast<int>(i / 2);
            const int column = static_cast<int>(i % 2) * 2;
            writeCell(*table, row, column, expand(inputs[i].label), Qt::AlignLeft, label);
            writeCell(*table, row, column + 1, expand(inputs[i].value), Qt::AlignLeft, value);
        }
        m_cursor.movePosition(QTextCursor::End);
    }

    QTextTableFormat scheduleFormat() const {
        QTextTableFormat format;
        format.setHeaderRowCount(1);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        QList<QTextLength> widths;
        for (const ReportColumn& column : m_definition.columns) {
            widths.push_back(column.widthPercent > 0
                                 ? QTextLength(QTextLength::PercentageLength, column.widthPercent)
                                 : QTextLength(QTextLength::VariableLength, 0));
        }
        format.setColumnWidthConstraints(widths);
        // Rules between the rows only, as a printed statement has them; the cells draw them.
        format.setBorder(0);
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(px(2.5));
        format.setTopMargin(px(10));
        return format;
    }

    void writeSchedule() {
        const ReportTable& data = m_content.table;
        const auto& columns = m_definition.columns;
        const int columnCount = static_cast<int>(columns.size());
        const bool noRows = data.rows.empty();
        const bool emptyNote = noRows && !m_definition.emptyText.empty();
        const bool totals = !m_definition.totalledColumns.empty();
        const int rowCount =
            1 + static_cast<int>(data.rows.size()) + (emptyNote ? 1 : 0) + (totals ? 1 : 0);
        m_cursor.movePosition(QTextCursor::End);
        QTextTable* table = m_cursor.insertTable(rowCount, columnCount, scheduleFormat());
        m_schedule = table;

        QTextCharFormat heading;
        heading.setFontWeight(QFont::Bold);
        const QTextTableCellFormat headingCell =
            ruledCell(px(1), px(1), reportStyle::kStrongRule, reportStyle::kHeadingShade);
        for (int c = 0; c < columnCount; ++c) {
            const auto& column = columns[static_cast<std::size_t>(c)];
            writeCell(*table, 0, c, qt(column.heading), alignmentOf(column.alignment), heading,
                      &headingCell);
        }

        const QTextCharFormat plain;
        const QTextTableCellFormat rowCell = ruledCell(0, px(0.5), reportStyle::kRowRule);
        int row = 1;
        for (const auto& texts : data.rows) {
            for (int c = 0; c < columnCount; ++c) {
                writeCell(*table, row, c, qt(texts[static_cast<std::size_t>(c)]),
                          alignmentOf(columns[static_cast<std::size_t>(c)].alignment), plain,
                          &rowCell);
            }
            ++row;
        }

        if (emptyNote) {
            table->mergeCells(row, 0, 1, columnCount);
            QTextCharFormat note;
            note.setFontItalic(true);
            note.setForeground(reportStyle::kMutedText);
            writeCell(*table, row, 0, expand(m_definition.emptyText), Qt::AlignHCenter, note,
                      &rowCell);
            ++row;
        }

        if (totals) {
            writeTotals(*table, row);
        }
    }

    // The totals row: the label fills the cells before the first totalled column.
    void writeTotals(QTextTable& table, int row) {
        const auto& columns = m_definition.columns;
        const int columnCount = static_cast<int>(columns.size());
        const int firstTotal = static_cast<int>(m_definition.totalledColumns.front());
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        const QTextTableCellFormat totalCell =
            ruledCell(px(1.2), px(1.2), reportStyle::kStrongRule, reportStyle::kTotalsShade);
        for (int c = 0; c < columnCount; ++c) {
            if (c < firstTotal) {
                // The label's cells: formatted now, written once merged.
                table.cellAt(row, c).setFormat(totalCell);
                continue;
            }
            const auto& total = m_content.table.totals[static_cast<std::size_t>(c)];
            writeCell(table, row, c, total ? qt(*total) : QString(),
                      alignmentOf(columns[static_cast<std::size_t>(c)].alignment), bold,
                      &totalCell);
        }
        if (firstTotal > 0) {
            if (firstTotal > 1) {
                table.mergeCells(row, 0, 1, firstTotal);
            }
            QTextCursor label = table.cellAt(row, 0).firstCursorPosition();
            QTextBlockFormat block = label.blockFormat();
            block.setAlignment(Qt::AlignLeft);
            label.setBlockFormat(block);
            label.insertText(expand(m_definition.totalsLabel), bold);
        }
    }

public:
    /// The schedule table, once written.
    QTextTable* schedule() const { return m_schedule; }

private:
    const ReportContent& m_content;
    const ReportDefinition& m_definition;
    QTextTable* m_schedule = nullptr;
    const PlaceholderValues m_values;
    QTextCursor m_cursor;
};

double blockTop(const QTextDocument& document, const QTextTableCell& cell) {
    return document.documentLayout()->blockBoundingRect(cell.firstCursorPosition().block()).top();
}

int pageAt(const QTextDocument& document, double y) {
    return static_cast<int>(y / document.pageSize().height());
}

/// \brief A totals row that the page break left alone on a page takes the last row with it, so
/// no page shows totals without any of the rows they add up.
///
/// NOTE: the layout keeps a table row whole but knows no "keep with next". So the row before
/// the last is stretched towards the foot of its page until the last row no longer fits there
/// and moves on as a whole; the layout itself stretches the last row of a broken page the same
/// way. Should the layout still split them, the stretch is taken back.
void keepTotalsWithLastRow(QTextDocument& document, QTextTable& table) {
    const int totalsRow = table.rows() - 1;
    const int lastRow = totalsRow - 1;
    const int column = table.columns() - 1;
    const auto pageOfRow = [&](int row) {
        return pageAt(document, blockTop(document, table.cellAt(row, column)));
    };
    const int lastPage = pageOfRow(lastRow);
    if (pageOfRow(totalsRow) == lastPage || pageOfRow(lastRow - 1) != lastPage) {
        return;
    }
    const double previousTop = blockTop(document, table.cellAt(lastRow - 1, column));
    const double lastTop = blockTop(document, table.cellAt(lastRow, column));
    const double rowHeight = lastTop - previousTop;
    const double pageBottom = (lastPage + 1) * document.pageSize().height();
    // Frame lengths are in layout units, the positions in device pixels.
    const double devicePixelsPerPoint =
        document.documentLayout()->paintDevice()->logicalDpiY() / 72.0;
    const double stretch = (pageBottom - lastTop - rowHeight / 2) * reportStyle::layoutLength(1) /
                           devicePixelsPerPoint;
    if (stretch <= 0) {
        return;
    }
    std::vector<QTextCharFormat> before;
    QTextCursor edit(&document);
    edit.beginEditBlock();
    for (int c = 0; c < table.columns(); ++c) {
        QTextTableCell cell = table.cellAt(lastRow - 1, c);
        before.push_back(cell.format());
        QTextTableCellFormat format = cell.format().toTableCellFormat();
        const double padding = format.hasProperty(QTextFormat::TableCellBottomPadding)
                                   ? format.bottomPadding()
                                   : table.format().cellPadding();
        format.setBottomPadding(padding + stretch);
        cell.setFormat(format);
    }
    edit.endEditBlock();
    if (pageOfRow(lastRow - 1) == lastPage && pageOfRow(lastRow) == pageOfRow(totalsRow)) {
        return;
    }
    edit.beginEditBlock();
    for (int c = 0; c < table.columns(); ++c) {
        table.cellAt(lastRow - 1, c).setFormat(before[static_cast<std::size_t>(c)]);
    }
    edit.endEditBlock();
}

}  // namespace

PlaceholderValues documentValues(const ReportContent& content) {
    PlaceholderValues values;
    if (const auto& calculation = content.calculation) {
        values["amount"] = calculation->amount;
        values["months"] = calculation->months;
        values["rate"] = calculation->rate;
        values["decimals"] = calculation->decimals;
        values["start"] = formatDayMonthYear(calculation->start);
        values["instalment"] = calculation->instalment;
    }
    values["today"] = formatDayMonthYear(today());
    values["rows"] = std::to_string(content.table.rows.size());
    values["title"] = expandTemplate(content.definition.title, values);
    return values;
}

QPageLayout reportPageLayout(const ReportDefinition& definition) {
    const double margin = definition.marginMillimetres;
    return QPageLayout(QPageSize(pageSizeId(definition.paper)),
                       definition.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
}

std::unique_ptr<QTextDocument> buildReportDocument(const ReportContent& content,
                                                   QPaintDevice& device, const QSizeF& bodySize) {
    auto document = std::make_unique<QTextDocument>();
    // Laid out for the device itself, so the type keeps its point sizes at the device's
    // resolution and the pages break where the device's pages do.
    document->documentLayout()->setPaintDevice(&device);
    document->setDocumentMargin(0);
    document->setDefaultFont(reportStyle::font(content.definition, content.definition.fontSize));
    document->setPageSize(bodySize);
    document->setUndoRedoEnabled(false);
    DocumentBuilder builder(content, *document);
    builder.build();
    if (!content.definition.totalledColumns.empty() && content.table.rows.size() > 1) {
        keepTotalsWithLastRow(*document, *builder.schedule());
    }
    return document;
}

}  // namespace quillet
