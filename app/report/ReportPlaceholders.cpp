#include "report/ReportPlaceholders.h"

#include <algorithm>
#include <array>

namespace quillet {

namespace {

constexpr std::array<std::string_view, 16> kDocumentNames = {"amount",
                                                             "months",
                                                             "rate",
                                                             "decimals",
                                                             "start",
                                                             "instalment",
                                                             "today",
                                                             "rows",
                                                             "title",
                                                             "amount:fixed",
                                                             "amount:grouped",
                                                             "instalment:fixed",
                                                             "instalment:grouped",
                                                             "total-interest",
                                                             "total-payable",
                                                             "last-due"};
constexpr std::array<std::string_view, 2> kBandOnlyNames = {"page", "pages"};

bool known(std::string_view name, PlaceholderScope scope) {
    if (std::find(kDocumentNames.begin(), kDocumentNames.end(), name) != kDocumentNames.end()) {
        return true;
    }
    return scope == PlaceholderScope::PageBand &&
           std::find(kBandOnlyNames.begin(), kBandOnlyNames.end(), name) != kBandOnlyNames.end();
}

// Walks a template, calling literal(text) and placeholder(name) in order; returns a problem.
template <typename Literal, typename Placeholder>
std::optional<std::string> walk(std::string_view text, Literal literal, Placeholder placeholder) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '{' || c == '}') {
            if (i + 1 < text.size() && text[i + 1] == c) {
                literal(text.substr(i, 1));
                i += 2;
                continue;
            }
            if (c == '}') {
                return std::string("a \"}\" without its \"{\" (write \"}}\" for a brace)");
            }
            const std::size_t close = text.find('}', i + 1);
            if (close == std::string_view::npos) {
                return std::string("a \"{\" without its \"}\" (write \"{{\" for a brace)");
            }
            if (auto problem = placeholder(text.substr(i + 1, close - i - 1))) {
                return problem;
            }
            i = close + 1;
            continue;
        }
        const std::size_t next = text.find_first_of("{}", i);
        const std::size_t end = next == std::string_view::npos ? text.size() : next;
        literal(text.substr(i, end - i));
        i = end;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> checkTemplate(std::string_view text, PlaceholderScope scope) {
    return walk(
        text, [](std::string_view) {},
        [scope](std::string_view name) -> std::optional<std::string> {
            if (known(name, scope)) {
                return std::nullopt;
            }
            if (known(name, PlaceholderScope::PageBand)) {
                return "the placeholder {" + std::string(name) +
                       "} can only be used in [page-header] and [page-footer]";
            }
            return "unknown placeholder {" + std::string(name) +
                   "} (known: {amount}, {months}, {rate}, {decimals}, {start}, {instalment}, "
                   "{today}, {rows}, {title}, {amount:fixed}, {amount:grouped}, "
                   "{instalment:fixed}, {instalment:grouped}, {total-interest}, "
                   "{total-payable}, {last-due}, and in page bands {page} and "
                   "{pages})";
        });
}

std::string expandTemplate(std::string_view text, const PlaceholderValues& values) {
    std::string out;
    out.reserve(text.size());
    walk(
        text, [&out](std::string_view piece) { out.append(piece); },
        [&out, &values](std::string_view name) -> std::optional<std::string> {
            if (const auto found = values.find(name); found != values.end()) {
                out.append(found->second);
            }
            return std::nullopt;
        });
    return out;
}

}  // namespace quillet
