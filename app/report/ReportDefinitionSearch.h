#pragma once
// Where the report definition (EMI.rpt) is looked for: the user's own copy first, then the one
// beside the executable (a build tree), then the one installed with the program under
// <prefix>/share/quillet, found from the executable's folder so that a moved install still finds
// it.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillet {

/// \brief The places tried for the report definition, best first, for an executable in
/// programFolder. configHome is $XDG_CONFIG_HOME and home is $HOME as the environment holds
/// them (empty when unset); a relative configHome is ignored, as the XDG rules ask.
std::vector<std::filesystem::path> reportDefinitionPlaces(
    const std::filesystem::path& programFolder, const std::string& configHome,
    const std::string& home);

/// The places tried for this process: its program folder and environment.
std::vector<std::filesystem::path> reportDefinitionPlaces();

/// \brief The report definition this process uses: the first of its places that exists, or,
/// when none does, the installed place (loading it then explains what was tried).
std::filesystem::path reportDefinitionFile();

/// The first of places that exists as a file, if any.
std::optional<std::filesystem::path> firstExisting(
    const std::vector<std::filesystem::path>& places);

/// \brief Why file, which does not exist, is missing: "the file does not exist", followed by the
/// other places that were tried when file is one of this process's places.
std::string missingDefinitionProblem(const std::filesystem::path& file);

}  // namespace quillet
