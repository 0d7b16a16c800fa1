#include "render/GlyphTable.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <cmath>
#include <map>
#include <mutex>
#include <string>

namespace quillet {

namespace {

// The characters of amounts, counts and dates: every pair of them is shaped once, in one text,
// when a table is made, so the cells of a page need not teach the table their pairs one by one.
constexpr std::string_view kFigureCharacters = "0123456789,.-/";

// Places and advances are whole 64ths of a pixel; anything closer is the same place.
constexpr double kSamePlace = 1e-6;

/// \brief A text in which every ordered pair of alphabet's characters stands side by side once:
/// each step appends the last character not yet seen after the current one.
std::string everyPairOf(std::string_view alphabet) {
    const std::size_t k = alphabet.size();
    std::vector<bool> seen(k * k, false);
    std::string text(1, alphabet.front());
    std::size_t last = 0;
    for (bool extended = true; extended;) {
        extended = false;
        for (std::size_t next = k; next-- > 0;) {
            if (!seen[last * k + next]) {
                seen[last * k + next] = true;
                text.push_back(alphabet[next]);
                last = next;
                extended = true;
                break;
            }
        }
    }
    return text;
}

/// The tables not lent out, by font and resolution; a handful at most (one report uses two).
class TableShelf {
public:
    std::unique_ptr<GlyphTable> take(const QString& key) {
        const std::lock_guard lock(m_mutex);
        const auto found = m_tables.find(key);
        if (found == m_tables.end()) {
            return nullptr;
        }
        auto table = std::move(found->second);
        m_tables.erase(found);
        return table;
    }
    void put(const QString& key, std::unique_ptr<GlyphTable> table) {
        const std::lock_guard lock(m_mutex);
        if (m_tables.size() >= kMostTables && m_tables.find(key) == m_tables.end()) {
            m_tables.erase(m_tables.begin());
        }
        m_tables[key] = std::move(table);
    }
    void clear() {
        const std::lock_guard lock(m_mutex);
        m_tables.clear();
    }

private:
    static constexpr std::size_t kMostTables = 16;
    std::mutex m_mutex;
    std::map<QString, std::unique_ptr<GlyphTable>> m_tables;
};

void clearShelf();

TableShelf& shelf() {
    static TableShelf tables;
    // NOTE: fonts must go before the application that holds the font database: the tables are
    // emptied as it ends, not after, when static objects are destroyed.
    static const bool emptiedAtTheEnd = [] {
        qAddPostRoutine(clearShelf);
        return true;
    }();
    (void)emptiedAtTheEnd;
    return tables;
}

void clearShelf() {
    shelf().clear();
}

}  // namespace

LentGlyphTable::LentGlyphTable(const QFont& font, int dpiX, int dpiY)
    : m_key(font.key() + QStringLiteral("@%1x%2").arg(dpiX).arg(dpiY)),
      m_table(shelf().take(m_key)) {
    if (!m_table) {
        m_table = std::make_unique<GlyphTable>(font);
    }
}

LentGlyphTable::~LentGlyphTable() {
    shelf().put(m_key, std::move(m_table));
}

void GlyphLine::truncate(std::size_t size) {
    m_glyphs.resize(std::min(size, m_glyphs.size()));
    m_positions.resize(m_glyphs.size());
}

void GlyphLine::shift(std::size_t from, QPointF offset) {
    for (std::size_t i = from; i < m_positions.size(); ++i) {
        m_positions[i] += offset;
    }
}

void GlyphLine::draw(QPainter& painter, const QRawFont& font) {
    if (m_glyphs.empty()) {
        return;
    }
    QGlyphRun run;
    run.setRawFont(font);
    // NOTE: the run borrows the arrays (no copy); they stay untouched until it is drawn.
    run.setRawData(m_glyphs.data(), m_positions.data(), static_cast<int>(m_glyphs.size()));
    painter.drawGlyphRun(QPointF(0, 0), run);
    m_glyphs.clear();
    m_positions.clear();
}

GlyphTable::GlyphTable(const QFont& font)
    : m_font(font),
      m_glyph(kCount, 0),
      m_advance(kCount, 0),
      m_lastAdvance(kCount, Known::Unknown),
      m_pair(static_cast<std::size_t>(kCount) * kCount, Known::Unknown),
      m_step(static_cast<std::size_t>(kCount) * kCount, 0) {
    // The font shaping picks for these characters is the one the table's glyphs come from.
    const std::string probe = everyPairOf(kFigureCharacters);
    double advance = 0;
    const auto run = shaped(probe, advance);
    if (!run || !run->rawFont().isValid()) {
        return;
    }
    m_raw = run->rawFont();
    QString characters;
    for (int c = kFirst; c < kFirst + kCount; ++c) {
        characters.append(QChar(c));
    }
    int count = kCount;
    std::vector<QPointF> advances(kCount);
    if (!m_raw.glyphIndexesForChars(characters.constData(), kCount, m_glyph.data(), &count) ||
        count != kCount ||
        !m_raw.advancesForGlyphIndexes(m_glyph.data(), advances.data(), kCount)) {
        return;
    }
    for (std::size_t c = 0; c < advances.size(); ++c) {
        m_advance[c] = advances[c].x();
    }
    m_usable = true;
    takeIn(probe, *run, advance);
}

std::optional<QGlyphRun> GlyphTable::shaped(std::string_view text, double& advance) const {
    const QString string = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    // The font already carries the device's resolution: no device needed (nor kept).
    QTextLayout layout(string, m_font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid()) {
        return std::nullopt;
    }
    advance = line.horizontalAdvance();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.size() != 1) {
        return std::nullopt;  // more than one font, or nothing drawn at all
    }
    return runs.front();
}

bool GlyphTable::takeIn(std::string_view text, const QGlyphRun& run, double advance) {
    if (run.rawFont() != m_raw) {
        return false;
    }
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    const auto n = static_cast<qsizetype>(text.size());
    if (n == 0 || glyphs.size() != n || positions.size() != n) {
        return false;  // a ligature, or characters shaped into more glyphs
    }
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text[static_cast<std::size_t>(i)];
        if (!inTable(c) || glyphs[i] != m_glyph[static_cast<std::size_t>(slot(c))] ||
            positions[i].y() != positions[0].y()) {
            return false;  // another glyph than the font's own for the character
        }
    }
    const int last = slot(text.back());
    const double width = positions[n - 1].x() - positions[0].x() + m_advance[last];
    if (std::abs(width - advance) > kSamePlace) {
        return false;
    }
    for (qsizetype i = 0; i + 1 < n; ++i) {
        const std::size_t pair = pairSlot(slot(text[static_cast<std::size_t>(i)]),
                                          slot(text[static_cast<std::size_t>(i + 1)]));
        const double step = positions[i + 1].x() - positions[i].x();
        if (m_pair[pair] == Known::Unknown) {
            m_pair[pair] = Known::Yes;
            m_step[pair] = step;
        } else if (m_pair[pair] == Known::Yes && std::abs(m_step[pair] - step) > kSamePlace) {
            // The pair is set differently in another context: never set it from the table.
            m_pair[pair] = Known::No;
        }
    }
    m_lastAdvance[static_cast<std::size_t>(last)] = Known::Yes;
    return true;
}

bool GlyphTable::learn(std::string_view text) {
    double advance = 0;
    const auto run = shaped(text, advance);
    return run && takeIn(text, *run, advance);
}

void GlyphTable::learnAllOf(std::string_view text) {
    if (learn(text)) {
        return;
    }
    // Something in text does not align with its characters: settle each unknown part alone, so
    // only the pair (or character) at fault is refused from now on.
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const std::size_t pair = pairSlot(slot(text[i]), slot(text[i + 1]));
        if (m_pair[pair] == Known::Unknown && !learn(text.substr(i, 2))) {
            m_pair[pair] = Known::No;
        }
    }
    const auto last = static_cast<std::size_t>(slot(text.back()));
    if (m_lastAdvance[last] == Known::Unknown && !learn(text.substr(text.size() - 1))) {
        m_lastAdvance[last] = Known::No;
    }
}

std::optional<double> GlyphTable::layOut(std::string_view text, GlyphLine& line) {
    if (text.empty()) {
        return 0.0;
    }
    if (!m_usable) {
        return std::nullopt;
    }
    for (const char c : text) {
        if (!inTable(c) || m_glyph[static_cast<std::size_t>(slot(c))] == 0) {
            return std::nullopt;  // beyond ASCII (UTF-8), a control character, or not in the font
        }
    }
    const std::size_t from = line.size();
    for (int attempt = 0;; ++attempt) {
        double x = 0;
        Known state = Known::Yes;
        for (std::size_t i = 0; i < text.size() && state == Known::Yes; ++i) {
            const int c = slot(text[i]);
            line.add(m_glyph[static_cast<std::size_t>(c)], QPointF(x, 0));
            if (i + 1 < text.size()) {
                const std::size_t pair = pairSlot(c, slot(text[i + 1]));
                state = m_pair[pair];
                x += m_step[pair];
            } else {
                state = m_lastAdvance[static_cast<std::size_t>(c)];
                x += m_advance[static_cast<std::size_t>(c)];
            }
        }
        if (state == Known::Yes) {
            return x;
        }
        line.truncate(from);
        if (state == Known::No || attempt > 0) {
            return std::nullopt;
        }
        learnAllOf(text);
    }
}

}  // namespace quillet
