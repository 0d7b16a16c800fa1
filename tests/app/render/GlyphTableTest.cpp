// A cell's text is measured and drawn from a table of the font's glyphs: the table must set a
// text exactly as shaping sets it (glyphs, places, width), or refuse it and leave it to shaping.

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImage>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <string>

#include "render/GlyphTable.h"
#include "render/ReportStyle.h"

namespace quillet::testing {
namespace {

/// The glyph runs ordinary text drawing sets text in, on one line.
QList<QGlyphRun> shape(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns();
}

QImage deviceAt(double dotsPerInch) {
    QImage image(8, 8, QImage::Format_RGB32);
    const auto dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image;
}

TEST(GlyphTables, SetATextAsShapingDoesOrLeaveItToShaping) {
    // Kerning pairs, ligatures, Greek (beyond the table's characters) and a euro sign in UTF-8.
    const std::vector<std::string> texts{"1,234,567.89",
                                         "-0.50",
                                         "01/Feb/2024",
                                         "Total (120 instalments)",
                                         "AVATAR Today",
                                         "Office waffle",
                                         "7",
                                         "",
                                         "Κεφάλαιο 1",
                                         "Zinsen \xe2\x82\xac"};
    for (const double dotsPerInch : {96.0, 600.0}) {
        const QImage device = deviceAt(dotsPerInch);
        for (const bool bold : {false, true}) {
            SCOPED_TRACE(std::to_string(dotsPerInch) + (bold ? " dpi, bold" : " dpi"));
            QFont font(reportStyle::font(ReportDefinition{}, 9), &device);
            font.setWeight(bold ? QFont::Bold : QFont::Normal);
            GlyphTable table(font);
            const QFontMetricsF metrics(font, &device);
            int set = 0;
            for (const std::string& text : texts) {
                SCOPED_TRACE(text);
                const QString string = QString::fromStdString(text);
                GlyphLine line;
                line.add(1, QPointF(-5, -5));  // a glyph already on the line stays as it was
                const auto width = table.layOut(text, line);
                ASSERT_GE(line.size(), 1U);
                EXPECT_EQ(line.glyphs().front(), 1U);
                EXPECT_EQ(line.positions().front(), QPointF(-5, -5));
                const QList<QGlyphRun> shaped = shape(string, font);
                if (!width) {
                    EXPECT_EQ(line.size(), 1U) << "a refused text leaves nothing behind";
                    // Refused only with a reason: beyond ASCII, or shaped otherwise than one
                    // glyph of the table's font per character.
                    const bool ascii = string.toLatin1().toStdString() == text &&
                                       std::all_of(text.begin(), text.end(),
                                                   [](char c) { return c >= 0x20 && c < 0x7f; });
                    const bool oneToOne = shaped.size() == 1 &&
                                          shaped[0].rawFont() == table.rawFont() &&
                                          shaped[0].glyphIndexes().size() == string.size();
                    EXPECT_FALSE(ascii && oneToOne) << "refused a text the table can set";
                    continue;
                }
                ++set;
                EXPECT_NEAR(*width, metrics.horizontalAdvance(string), 1e-6);
                ASSERT_EQ(line.size(), text.size() + 1);
                if (text.empty()) {
                    continue;
                }
                ASSERT_EQ(shaped.size(), 1);
                const QList<quint32> glyphs = shaped[0].glyphIndexes();
                const QList<QPointF> positions = shaped[0].positions();
                ASSERT_EQ(glyphs.size(), string.size());
                for (qsizetype i = 0; i < string.size(); ++i) {
                    const auto at = static_cast<std::size_t>(i) + 1;
                    EXPECT_EQ(line.glyphs()[at], glyphs[i]) << "glyph " << i;
                    EXPECT_NEAR(line.positions()[at].x(), positions[i].x() - positions[0].x(), 1e-6)
                        << "glyph " << i;
                    EXPECT_EQ(line.positions()[at].y(), 0);
                }
            }
            // Amounts, dates and plain words are set from the table, not left to shaping.
            EXPECT_GE(set, 6);
            GlyphLine line;
            EXPECT_FALSE(table.layOut("Κεφάλαιο", line).has_value());
        }
    }
}

}  // namespace
}  // namespace quillet::testing
