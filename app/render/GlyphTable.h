#pragma once
// A font's glyphs and advances, and the distance between each pair of neighbours, for the
// characters a table cell holds: a cell is measured (for right alignment) and drawn from the
// table, instead of being shaped twice, once by horizontalAdvance and again by drawText. The
// table only sets texts it knows shaping would set exactly so; anything else is left to the
// painter's ordinary text drawing.

#include <QFont>
#include <QGlyphRun>
#include <QPointF>
#include <QRawFont>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class QPainter;

namespace quillet {

/// \brief The glyphs of texts laid out from a GlyphTable, gathered to be drawn as one glyph run
/// (a row of the table is one run, whatever its number of cells).
class GlyphLine {
public:
    std::size_t size() const { return m_glyphs.size(); }
    bool empty() const { return m_glyphs.empty(); }
    const std::vector<quint32>& glyphs() const { return m_glyphs; }
    const std::vector<QPointF>& positions() const { return m_positions; }
    void add(quint32 glyph, QPointF at) {
        m_glyphs.push_back(glyph);
        m_positions.push_back(at);
    }
    /// Forgets the glyphs from the size'th on.
    void truncate(std::size_t size);
    /// Moves the glyphs from the from'th on by offset.
    void shift(std::size_t from, QPointF offset);
    /// Draws the glyphs in font with the painter's pen, and empties the line.
    void draw(QPainter& painter, const QRawFont& font);

private:
    std::vector<quint32> m_glyphs;
    std::vector<QPointF> m_positions;
};

/// \brief The glyphs of one font on one paint device for printable ASCII, and what shaping
/// does to each pair of neighbours (kerning), learnt by shaping texts once and then reused.
///
/// A text is laid out from the table only when every part of it was seen in a shaped text: the
/// glyph of each character from the font itself (no fallback font), each neighbour pair one
/// glyph per character (no ligature) at a known distance, the last character's advance. Any
/// other text (a character beyond ASCII, one the font lacks, a pair shaping joins) is refused,
/// so the caller draws it the ordinary way: the table never drops or moves a glyph.
class GlyphTable {
public:
    /// \brief font must already be made for the device drawn on (QFont(font, device)), as the
    /// painter draws it: the table holds no device, only the font at the device's resolution.
    explicit GlyphTable(const QFont& font);

    /// \brief Appends the glyphs of text (UTF-8) to line, placed from (0, 0) along the
    /// baseline, and returns the text's width: the glyphs, places and width shaping gives.
    /// Nothing, and nothing appended, when the table cannot set the text.
    std::optional<double> layOut(std::string_view text, GlyphLine& line);

    /// The font the glyphs are of.
    const QRawFont& rawFont() const { return m_raw; }

private:
    enum class Known : unsigned char { Unknown, Yes, No };
    static constexpr int kFirst = 0x20;
    static constexpr int kCount = 0x7f - kFirst;

    static int slot(char c) { return static_cast<unsigned char>(c) - kFirst; }
    static bool inTable(char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= kFirst && u < kFirst + kCount;
    }
    static std::size_t pairSlot(int a, int b) {
        return static_cast<std::size_t>(a) * kCount + static_cast<std::size_t>(b);
    }

    /// Shapes text as drawText would, on one line.
    std::optional<QGlyphRun> shaped(std::string_view text, double& advance) const;
    /// \brief Takes in what shaping text gave (run, and the line's advance), when that is one
    /// glyph per character in the table's font; false (nothing learnt) otherwise.
    bool takeIn(std::string_view text, const QGlyphRun& run, double advance);
    /// Shapes text and takes in the result.
    bool learn(std::string_view text);
    /// Learns what text needs, down to single pairs where the whole text does not align.
    void learnAllOf(std::string_view text);

    QFont m_font;
    QRawFont m_raw;
    bool m_usable = false;
    std::vector<quint32> m_glyph;
    std::vector<double> m_advance;
    // Whether a character's own advance was seen as the last of a shaped text.
    std::vector<Known> m_lastAdvance;
    // Per pair of neighbours: known, and the distance from the first glyph to the second.
    std::vector<Known> m_pair;
    std::vector<double> m_step;
};

/// \brief A glyph table for a font at a device resolution, lent from the tables the process
/// keeps: what a table learnt while one report was drawn serves the next one (the preview opened
/// again, the PDF written after it), as Qt keeps its font engines and glyph images. Each table is
/// lent to one holder at a time and comes back when the holder goes; a holder that finds its
/// table lent out makes its own.
class LentGlyphTable {
public:
    /// font made for the device (QFont(font, device)), whose resolution is dpiX by dpiY.
    LentGlyphTable(const QFont& font, int dpiX, int dpiY);
    ~LentGlyphTable();
    LentGlyphTable(const LentGlyphTable&) = delete;
    LentGlyphTable& operator=(const LentGlyphTable&) = delete;

    GlyphTable& operator*() { return *m_table; }
    GlyphTable* operator->() { return m_table.get(); }

private:
    QString m_key;
    std::unique_ptr<GlyphTable> m_table;
};

}  // namespace quillet
