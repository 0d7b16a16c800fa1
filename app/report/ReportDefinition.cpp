#include "report/ReportDefinition.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "report/ReportDefinitionSearch.h"
#include "report/ReportPlaceholders.h"
#include "runtime/Numbers.h"
#include "runtime/Text.h"

namespace quillet {

namespace {

constexpr std::string_view kSignature = "quillet-report";
constexpr int kFormatVersion = 1;

std::string_view trim(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> splitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = text.find('|', start);
        fields.push_back(trim(text.substr(start, bar - start)));
        if (bar == std::string_view::npos) {
            return fields;
        }
        start = bar + 1;
    }
}

bool isIdentifier(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isalnum(c) || c == '_';
    });
}

/// A column reference: a stored column's name or "@n".
struct ColumnReference {
    std::string name;
    int position = 0;
};

std::optional<ColumnReference> parseColumnReference(std::string_view text) {
    if (!text.empty() && text.front() == '@') {
        const std::string_view digits = text.substr(1);
        if (digits.empty() || digits.size() > 4 ||
            !std::all_of(digits.begin(), digits.end(),
                         [](unsigned char c) { return std::isdigit(c); })) {
            return std::nullopt;
        }
        const int position = std::stoi(std::string(digits));
        if (position < 1) {
            return std::nullopt;
        }
        return ColumnReference{{}, position};
    }
    if (!isIdentifier(text)) {
        return std::nullopt;
    }
    return ColumnReference{std::string(text), 0};
}

/// A column's first field made comparable: without blanks, names in lower case.
std::string columnKey(std::string_view text) {
    std::string key;
    for (const char c : text) {
        if (c != ' ' && c != '\t') {
            key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        }
    }
    return key;
}

enum class Section { None, Report, Inputs, Columns, Totals, PageHeader, PageFooter };

std::optional<Section> sectionNamed(std::string_view name) {
    static const std::map<std::string, Section, std::less<>> sections = {
        {"report", Section::Report},          {"inputs", Section::Inputs},
        {"columns", Section::Columns},        {"totals", Section::Totals},
        {"page-header", Section::PageHeader}, {"page-footer", Section::PageFooter}};
    const auto found = sections.find(toLowerAscii(name));
    if (found == sections.end()) {
        return std::nullopt;
    }
    return found->second;
}

/// Reads the text line by line, keeping the state of the section being read.
class Parser {
public:
    ReportDefinition parse(std::string_view text) {
        if (text.substr(0, 3) == "\xEF\xBB\xBF") {
            text.remove_prefix(3);
        }
        int lineNumber = 0;
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t end = text.find('\n', start);
            const std::string_view line =
                trim(text.substr(start, end == std::string_view::npos ? end : end - start));
            ++lineNumber;
            m_line = lineNumber;
            if (!line.empty() && line.front() != '#') {
                readLine(line);
            }
            if (end == std::string_view::npos) {
                break;
            }
            start = end + 1;
        }
        finish();
        return std::move(m_definition);
    }

private:
    [[noreturn]] void fail(const std::string& problem) const {
        throw ReportDefinitionError(m_line, problem);
    }

    void readLine(std::string_view line) {
        if (!m_signed) {
            readSignature(line);
            return;
        }
        if (line.front() == '[') {
            readSectionHeader(line);
            return;
        }
        switch (m_section) {
            case Section::None:
                fail("this line is outside any section; begin a section such as [report] first");
            case Section::Report:
                readReportSetting(line);
                return;
            case Section::Inputs:
                readInputLine(line);
                return;
            case Section::Columns:
                readColumn(line);
                return;
            case Section::Totals:
                readTotalsSetting(line);
                return;
            case Section::PageHeader:
                readBandSetting(line, m_definition.pageHeader);
                return;
            case Section::PageFooter:
                readBandSetting(line, m_definition.pageFooter);
                return;
        }
    }

    void readSignature(std::string_view line) {
        const std::string expected = std::string(kSignature) + " " + std::to_string(kFormatVersion);
        std::istringstream words{std::string(line)};
        std::string word;
        std::string version;
        std::string extra;
        words >> word >> version >> extra;
        if (word != kSignature) {
            fail("a report definition begins with the line \"" + expected + "\"");
        }
        if (version != std::to_string(kFormatVersion) || !extra.empty()) {
            fail("unsupported format version \"" + std::string(trim(line.substr(word.size()))) +
                 "\"; this program reads \"" + expected + "\"");
        }
        m_signed = true;
    }

    void readSectionHeader(std::string_view line) {
        if (line.back() != ']') {
            fail("a section header is a name in brackets, such as [columns]");
        }
        const std::string_view name = trim(line.substr(1, line.size() - 2));
        const auto section = sectionNamed(name);
        if (!section) {
            fail("unknown section [" + std::string(name) +
                 "] (expected [report], [inputs], [columns], [totals], [page-header] or "
                 "[page-footer])");
        }
        if (!m_seenSections.insert(*section).second) {
            fail("the section [" + toLowerAscii(name) + "] appears twice");
        }
        m_section = *section;
        m_sectionLines[*section] = m_line;
        m_keys.clear();
    }

    /// Splits "key = value", refusing keys outside allowed and keys given twice in a section.
    std::pair<std::string, std::string_view> keyValue(std::string_view line,
                                                      std::initializer_list<const char*> allowed,
                                                      const char* section) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            fail(std::string("expected \"key = value\" in [") + section + "]");
        }
        const std::string key = toLowerAscii(trim(line.substr(0, equals)));
        const std::string_view value = trim(line.substr(equals + 1));
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
            std::string list;
            for (const char* name : allowed) {
                list += list.empty() ? "" : ", ";
                list += name;
            }
            fail("unknown key \"" + key + "\" in [" + section + "] (expected " + list + ")");
        }
        if (!m_keys.insert(key).second) {
            fail("the key \"" + key + "\" is given twice in [" + section + "]");
        }
        return {key, value};
    }

    std::string checkedTemplate(std::string_view text, PlaceholderScope scope) const {
        if (const auto problem = checkTemplate(text, scope)) {
            fail(*problem);
        }
        return std::string(text);
    }

    double number(std::string_view value, const std::string& key, double low, double high) const {
        const auto parsed = parseNumber(value);
        if (!parsed || *parsed < low || *parsed > high) {
            fail("\"" + key + "\" must be a number from " + formatGeneral(low) + " to " +
                 formatGeneral(high) + ", not \"" + std::string(value) + "\"");
        }
        return *parsed;
    }

    std::string choice(std::string_view value, const std::string& key,
                       std::initializer_list<const char*> allowed) const {
        const std::string chosen = toLowerAscii(value);
        for (const char* option : allowed) {
            if (chosen == toLowerAscii(option)) {
                return option;
            }
        }
        std::string list;
        for (const char* option : allowed) {
            list += list.empty() ? "" : ", ";
            list += option;
        }
        fail("\"" + key + "\" must be one of " + list + ", not \"" + std::string(value) + "\"");
    }

    void readReportSetting(std::string_view line) {
        const auto [key, value] =
            keyValue(line,
                     {"title", "subtitle", "empty-text", "paper", "orientation", "margins", "font",
                      "font-size", "csv-header", "chart"},
                     "report");
        ReportDefinition& d = m_definition;
        if (key == "title") {
            if (value.empty()) {
                fail("the title must not be empty");
            }
            d.title = checkedTemplate(value, PlaceholderScope::Document);
        } else if (key == "subtitle") {
            d.subtitle = checkedTemplate(value, PlaceholderScope::Document);
        } else if (key == "empty-text") {
            d.emptyText = checkedTemplate(value, PlaceholderScope::Document);
        } else if (key == "paper") {
            d.paper = choice(value, key, {"A3", "A4", "A5", "Letter", "Legal"});
        } else if (key == "orientation") {
            d.landscape = choice(value, key, {"portrait", "landscape"}) == "landscape";
        } else if (key == "margins") {
            d.marginMillimetres = number(value, key, 0, 50);
        } else if (key == "font") {
            d.fontFamily = std::string(value);
        } else if (key == "font-size") {
            d.fontSize = number(value, key, 5, 24);
        } else if (key == "csv-header") {
            // Older definitions chose the CSV header here; the CSV now always has the columns
            // and texts of quillet-schedule's CSV, so the value is checked and has no effect.
            choice(value, key, {"names", "headings"});
        } else if (key == "chart") {
            d.chart = choice(value, key, {"yes", "no"}) == "yes";
        }
    }

    void readInputLine(std::string_view line) {
        const auto fields = splitFields(line);
        if (fields.size() != 2) {
            fail("an [inputs] line is \"label | value\", with exactly one \"|\"");
        }
        if (fields[0].empty()) {
            fail("an [inputs] line needs a label before the \"|\"");
        }
        m_definition.inputs.push_back({checkedTemplate(fields[0], PlaceholderScope::Document),
                                       checkedTemplate(fields[1], PlaceholderScope::Document)});
    }

    void readColumn(std::string_view line) {
        const auto fields = splitFields(line);
        if (fields.size() != 4 && fields.size() != 5) {
            fail(
                "a [columns] line is \"column | heading | alignment | format\", optionally "
                "followed by \"| width%\"");
        }
        ReportColumn column;
        std::size_t start = 0;
        while (true) {
            const std::size_t plus = fields[0].find('+', start);
            const std::string_view part = trim(fields[0].substr(start, plus - start));
            const auto reference = parseColumnReference(part);
            if (!reference) {
                fail("\"" + std::string(part) +
                     "\" is not a column: write the stored column's name (letters, digits, _) or "
                     "@n for the n-th stored column, several joined by + for their sum");
            }
            if (start == 0) {
                column.source = reference->name;
                column.position = reference->position;
            } else {
                column.addedSources.push_back({reference->name, reference->position});
            }
            if (plus == std::string_view::npos) {
                break;
            }
            start = plus + 1;
        }
        column.heading = std::string(fields[1]);
        const std::string alignment = choice(fields[2], "alignment", {"left", "center", "right"});
        column.alignment = alignment == "left"     ? CellAlignment::Left
                           : alignment == "center" ? CellAlignment::Center
                                                   : CellAlignment::Right;
        readFormat(fields[3], column);
        if (!column.addedSources.empty() && (column.format == ValueFormat::Date)) {
            fail("a sum of columns needs a number format (general, fixed or grouped), not date");
        }
        if (fields.size() == 5) {
            std::string_view width = fields[4];
            if (!width.empty() && width.back() == '%') {
                width.remove_suffix(1);
            }
            column.widthPercent = number(width, "width", 1, 100);
            m_widthTotal += column.widthPercent;
            if (m_widthTotal > 100.0 + 1e-9) {
                fail("the column widths add up to more than 100%");
            }
        }
        column.line = m_line;
        m_columnKeys.push_back(columnKey(fields[0]));
        m_definition.columns.push_back(std::move(column));
    }

    /// "general", "date", "fixed", "grouped", the last two optionally with decimals: "fixed 2".
    void readFormat(std::string_view text, ReportColumn& column) const {
        const std::size_t blank = text.find_first_of(" \t");
        const std::string_view name = text.substr(0, blank);
        const std::string chosen = choice(name, "format", {"general", "date", "fixed", "grouped"});
        column.format = chosen == "date"      ? ValueFormat::Date
                        : chosen == "fixed"   ? ValueFormat::Fixed
                        : chosen == "grouped" ? ValueFormat::Grouped
                                              : ValueFormat::General;
        if (blank == std::string_view::npos) {
            return;
        }
        const std::string_view decimals = trim(text.substr(blank));
        const bool digitsOnly = !decimals.empty() && decimals.size() <= 2 &&
                                std::all_of(decimals.begin(), decimals.end(),
                                            [](unsigned char c) { return std::isdigit(c); });
        if (column.format != ValueFormat::Fixed && column.format != ValueFormat::Grouped) {
            fail("only the fixed and grouped formats take a number of decimals");
        }
        if (!digitsOnly || std::stoi(std::string(decimals)) > 15) {
            fail("the decimals of a format must be a whole number from 0 to 15, not \"" +
                 std::string(decimals) + "\"");
        }
        column.decimals = std::stoi(std::string(decimals));
    }

    void readTotalsSetting(std::string_view line) {
        const auto [key, value] = keyValue(line, {"label", "columns", "note"}, "totals");
        if (key == "label") {
            m_definition.totalsLabel = checkedTemplate(value, PlaceholderScope::Document);
            return;
        }
        if (key == "note") {
            m_definition.totalsNote = checkedTemplate(value, PlaceholderScope::Document);
            return;
        }
        std::size_t start = 0;
        while (start <= value.size()) {
            const std::size_t comma = value.find(',', start);
            const std::string_view item = trim(value.substr(start, comma - start));
            if (item.empty()) {
                fail("an empty column in \"columns\"; separate the columns with single commas");
            }
            m_totals.emplace_back(item);
            if (comma == std::string_view::npos) {
                break;
            }
            start = comma + 1;
        }
        m_totalsLine = m_line;
    }

    void readBandSetting(std::string_view line, PageBand& band) {
        const char* section = &band == &m_definition.pageHeader ? "page-header" : "page-footer";
        const auto [key, value] = keyValue(line, {"left", "center", "right"}, section);
        std::string text = checkedTemplate(value, PlaceholderScope::PageBand);
        (key == "left" ? band.left : key == "center" ? band.center : band.right) = std::move(text);
    }

    void finish() {
        if (!m_signed) {
            m_line = 0;
            fail("the file is empty; a report definition begins with the line \"" +
                 std::string(kSignature) + " " + std::to_string(kFormatVersion) + "\"");
        }
        if (m_definition.title.empty()) {
            m_line = lineOf(Section::Report);
            fail(m_line == 0 ? "there is no [report] section with a title"
                             : "the [report] section has no title");
        }
        if (m_definition.columns.empty()) {
            m_line = lineOf(Section::Columns);
            fail(m_line == 0 ? "there is no [columns] section"
                             : "the [columns] section lists no columns");
        }
        m_line = m_totalsLine;
        for (const std::string& name : m_totals) {
            const auto found = std::find(m_columnKeys.begin(), m_columnKeys.end(), columnKey(name));
            if (found == m_columnKeys.end()) {
                fail("the total of \"" + name + "\" names no column of [columns]");
            }
            const auto index = static_cast<std::size_t>(found - m_columnKeys.begin());
            auto& totalled = m_definition.totalledColumns;
            if (std::find(totalled.begin(), totalled.end(), index) != totalled.end()) {
                fail("the total of \"" + name + "\" is asked for twice");
            }
            totalled.push_back(index);
        }
        std::sort(m_definition.totalledColumns.begin(), m_definition.totalledColumns.end());
    }

    int lineOf(Section section) const {
        const auto found = m_sectionLines.find(section);
        return found == m_sectionLines.end() ? 0 : found->second;
    }

    ReportDefinition m_definition;
    int m_line = 0;
    bool m_signed = false;
    Section m_section = Section::None;
    std::set<Section> m_seenSections;
    std::map<Section, int> m_sectionLines;
    std::set<std::string> m_keys;
    double m_widthTotal = 0;
    std::vector<std::string> m_totals;
    /// The first field of each column, as columnKey gives it, to find the totalled ones.
    std::vector<std::string> m_columnKeys;
    int m_totalsLine = 0;
};

}  // namespace

ReportDefinitionError::ReportDefinitionError(int line, const std::string& problem)
    : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + problem : problem),
      m_line(line),
      m_problem(problem) {}

ReportDefinition parseReportDefinition(std::string_view text) {
    return Parser().parse(text);
}

ReportDefinition loadReportDefinition(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        throw ReportDefinitionError(0, missingDefinitionProblem(file));
    }
    if (std::filesystem::is_directory(file, ec)) {
        throw ReportDefinitionError(0, "this is a folder, not a report definition file");
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        // An empty file reads no characters, which also lands here; the parser says what is
        // wrong with an empty definition, so only a file that cannot be opened stops here.
        if (!in.is_open()) {
            throw ReportDefinitionError(0, "the file cannot be read");
        }
    }
    return parseReportDefinition(text.str());
}

std::string describeDefinitionError(const std::filesystem::path& file,
                                    const ReportDefinitionError& error) {
    std::string where = "Report definition \"" + file.string() + "\"";
    if (error.line() > 0) {
        where += ", line " + std::to_string(error.line());
    }
    return where + ": " + error.problem();
}

}  // namespace quillet
