#pragma once
// The report definition (EMI.rpt): what the printable schedule says and how it is laid out. It is
// a plain text file beside the program so a user can retitle the report without rebuilding;
// docs/report-format.md describes the format.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

enum class CellAlignment { Left, Center, Right };

/// How a stored value becomes the text of a cell.
enum class ValueFormat {
    /// As the grid shows it: numbers in the general form, texts as they are.
    General,
    /// dd/Mmm/yyyy, as the grid's date column.
    Date,
    /// A number with exactly a given count of decimals: 4803.40.
    Fixed,
    /// As Fixed, with the digits grouped in thousands: 4,803.40.
    Grouped,
};

/// \brief A stored column named in the definition: by name (matched without regard to case) or,
/// when the definition writes "@n", by its 1-based position.
struct ColumnSource {
    std::string name;
    int position = 0;
};

/// \brief One column of the schedule table: which stored column it shows and how.
struct ReportColumn {
    /// The stored column's name (matched without regard to case); empty when given by position.
    std::string source;
    /// 1-based position of the stored column when the definition writes "@n"; 0 otherwise.
    int position = 0;
    /// \brief Further stored columns added to the first ("Interest + Principal"): the cell shows
    /// the sum of the parts' figures as this column writes them.
    std::vector<ColumnSource> addedSources;
    std::string heading;
    CellAlignment alignment = CellAlignment::Left;
    ValueFormat format = ValueFormat::General;
    /// Decimals of a fixed or grouped column; -1 for the decimals the calculation rounded to.
    int decimals = -1;
    /// Share of the table's width in percent; 0 lets the layout decide.
    double widthPercent = 0;
    /// Line of the definition that declared the column, for messages about it.
    int line = 0;
};

/// \brief One line of the loan-inputs block: a label and a value template with placeholders.
struct ReportInputLine {
    std::string label;
    std::string value;
};

/// \brief The texts of a page header or footer: left, centred and right parts, each a template.
struct PageBand {
    std::string left;
    std::string center;
    std::string right;
    bool empty() const { return left.empty() && center.empty() && right.empty(); }
};

/// \brief A parsed report definition.
struct ReportDefinition {
    std::string title;
    std::string subtitle;
    /// Shown under the headings when the schedule has no rows.
    std::string emptyText;
    /// Paper name: A3, A4, A5, Letter or Legal.
    std::string paper = "A4";
    bool landscape = false;
    /// Page margins in millimetres.
    double marginMillimetres = 15;
    /// Body text size in points; titles and bands are sized from it.
    double fontSize = 9;
    /// Font family; empty uses the platform's default sans-serif face.
    std::string fontFamily;
    /// Whether the first page shows the chart of the balance and the yearly repayments.
    bool chart = false;

    std::vector<ReportInputLine> inputs;
    std::vector<ReportColumn> columns;
    /// Indexes into columns of the columns that get a total, in column order.
    std::vector<std::size_t> totalledColumns;
    std::string totalsLabel = "Total";
    /// \brief Printed under the totals: why a column's total can differ from the loan. Each
    /// figure is rounded on its own from the exact schedule, so their sum carries the roundings.
    std::string totalsNote =
        "Each amount is rounded on its own from the exact schedule, so a column's total can "
        "differ from the loan amount by rounding.";

    PageBand pageHeader;
    PageBand pageFooter;
};

/// \brief A definition that cannot be used: where (line 0 for the file as a whole) and what.
class ReportDefinitionError : public std::runtime_error {
public:
    ReportDefinitionError(int line, const std::string& problem);
    int line() const noexcept { return m_line; }
    const std::string& problem() const noexcept { return m_problem; }

private:
    int m_line;
    std::string m_problem;
};

/// Parses the text of a definition; throws ReportDefinitionError naming the first faulty line.
ReportDefinition parseReportDefinition(std::string_view text);

/// \brief Reads and parses a definition file. A file that is missing or unreadable throws a
/// ReportDefinitionError with line 0.
ReportDefinition loadReportDefinition(const std::filesystem::path& file);

/// Report definition "<full path>", line 12: <problem>; without the line for line 0.
std::string describeDefinitionError(const std::filesystem::path& file,
                                    const ReportDefinitionError& error);

}  // namespace quillet
