#pragma once
// Placeholders in the texts of a report definition: "{amount}" and friends, "{{" and "}}" for
// literal braces. Checked when the definition is read so a misspelt name is reported with its
// line, and expanded when the report is drawn.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

/// Where a text appears: page numbers exist only in the page header and footer.
enum class PlaceholderScope { Document, PageBand };

/// Placeholder name -> its text for one report (and, for the bands, one page).
using PlaceholderValues = std::map<std::string, std::string, std::less<>>;

/// The problem with a template, or nothing when it is sound in that scope.
std::optional<std::string> checkTemplate(std::string_view text, PlaceholderScope scope);

/// \brief Replaces each placeholder by its value (a name without a value becomes empty) and each
/// doubled brace by one brace. The template must have passed checkTemplate.
std::string expandTemplate(std::string_view text, const PlaceholderValues& values);

}  // namespace quillet
