#include "report/ReportDefinitionSearch.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "runtime/ProgramFolder.h"

namespace quillet {

namespace {

constexpr const char* kFileName = "EMI.rpt";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::vector<std::filesystem::path> reportDefinitionPlaces(
    const std::filesystem::path& programFolder, const std::string& configHome,
    const std::string& home) {
    std::vector<std::filesystem::path> places;
    const std::filesystem::path config(configHome);
    if (config.is_absolute()) {
        places.push_back(config / "quillet" / kFileName);
    } else if (!home.empty()) {
        places.push_back(std::filesystem::path(home) / ".config" / "quillet" / kFileName);
    }
    places.push_back(programFolder / kFileName);
    // The installed data folder relative to the installed binaries (set by the build from its
    // install directories), so the program needs no fixed prefix.
    places.push_back((programFolder / QUILLET_DATA_FROM_BINARIES / kFileName).lexically_normal());
    return places;
}

std::vector<std::filesystem::path> reportDefinitionPlaces() {
    return reportDefinitionPlaces(programFolder(), environment("XDG_CONFIG_HOME"),
                                  environment("HOME"));
}

std::optional<std::filesystem::path> firstExisting(
    const std::vector<std::filesystem::path>& places) {
    for (const auto& place : places) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(place, ec)) {
            return place;
        }
    }
    return std::nullopt;
}

std::filesystem::path reportDefinitionFile() {
    const auto places = reportDefinitionPlaces();
    return firstExisting(places).value_or(places.back());
}

std::string missingDefinitionProblem(const std::filesystem::path& file) {
    std::string problem = "the file does not exist";
    const auto places = reportDefinitionPlaces();
    if (std::find(places.begin(), places.end(), file) == places.end()) {
        return problem;
    }
    problem += "; also tried";
    const char* separator = " ";
    for (const auto& place : places) {
        if (place != file) {
            problem += separator + ("\"" + place.string() + "\"");
            separator = " and ";
        }
    }
    return problem;
}

}  // namespace quillet
