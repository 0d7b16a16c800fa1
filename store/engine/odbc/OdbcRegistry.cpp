#include "engine/odbc/OdbcRegistry.h"

#include <odbcinst.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>

#include "runtime/Text.h"

namespace quillet::odbc {

namespace {

constexpr const char* kDataSourceFile = "odbc.ini";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// NOTE: the driver manager takes the home folder from the password database, not from HOME,
// for the user's odbc.ini (and from HOME for the user's odbcinst.ini).
std::filesystem::path passwordHome() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return "/home";
}

std::filesystem::path systemFolder() {
    const std::string folder = environment("ODBCSYSINI");
    return folder.empty() ? std::filesystem::path("/etc") : std::filesystem::path(folder);
}

std::filesystem::path userDataSourceFile() {
    const std::string file = environment("ODBCINI");
    return file.empty() ? passwordHome() / ".odbc.ini" : std::filesystem::path(file);
}

std::vector<std::filesystem::path> driverFiles() {
    const std::string name = environment("ODBCINSTINI");
    std::vector<std::filesystem::path> files = {systemFolder() /
                                                (name.empty() ? "odbcinst.ini" : name)};
    if (const std::string home = environment("HOME"); !home.empty()) {
        files.push_back(std::filesystem::path(home) / ".odbcinst.ini");
    }
    return files;
}

std::string trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

// One ini file as the driver manager reads it: [sections] of key = value lines; lines starting
// with '#' or ';' are comments.
struct IniFile {
    bool readable = false;
    std::string failure;
    std::map<std::string, std::map<std::string, std::string>> sections;  // lower-case names
};

IniFile readIni(const std::filesystem::path& file) {
    IniFile ini;
    errno = 0;
    std::ifstream in(file);
    if (!in) {
        ini.failure = std::strerror(errno != 0 ? errno : EACCES);
        return ini;
    }
    ini.readable = true;
    std::map<std::string, std::string>* section = nullptr;
    for (std::string line; std::getline(in, line);) {
        const std::string text = trimmed(line);
        if (text.empty() || text[0] == '#' || text[0] == ';') {
            continue;
        }
        if (text[0] == '[') {
            const std::size_t close = text.find(']');
            section = &ini.sections[toLowerAscii(trimmed(text.substr(1, close - 1)))];
            continue;
        }
        const std::size_t equals = text.find('=');
        if (section != nullptr && equals != std::string::npos) {
            (*section)[toLowerAscii(trimmed(text.substr(0, equals)))] =
                trimmed(text.substr(equals + 1));
        }
    }
    return ini;
}

bool fileExists(const std::filesystem::path& file) {
    std::error_code ignored;
    return std::filesystem::exists(file, ignored);
}

// Why the entry's driver cannot be loaded; empty when it can be (as far as files tell).
std::string driverProblem(const std::string& driver) {
    if (driver.find('/') != std::string::npos) {
        return fileExists(driver) ? std::string() : "its driver " + driver + " does not exist";
    }
    std::string searched;
    for (const std::filesystem::path& file : driverFiles()) {
        const IniFile ini = readIni(file);
        searched += (searched.empty() ? "" : ", ") + file.string();
        const auto found = ini.sections.find(toLowerAscii(driver));
        if (found == ini.sections.end()) {
            continue;
        }
        std::string library;
        for (const char* key : {"driver64", "driver"}) {
            if (const auto value = found->second.find(key);
                library.empty() && value != found->second.end()) {
                library = value->second;
            }
        }
        if (library.empty()) {
            return "its driver '" + driver + "' names no library in " + file.string();
        }
        // A bare library name is found by the loader's own search: left to the driver manager.
        if (library.find('/') != std::string::npos && !fileExists(library)) {
            return "its driver '" + driver + "' names the library " + library +
                   ", which does not exist";
        }
        return {};
    }
    return "its driver '" + driver + "' is not installed (no such entry in " + searched + ")";
}

std::string profileString(const std::string& section, const char* key) {
    const UserFileGuard guard;
    std::array<char, 4096> buffer{};
    const int length = SQLGetPrivateProfileString(section.c_str(), key, "", buffer.data(),
                                                  static_cast<int>(buffer.size()), kDataSourceFile);
    if (length <= 0) {
        return {};
    }
    return std::string(buffer.data(),
                       std::min<std::size_t>(static_cast<std::size_t>(length), buffer.size() - 1));
}

}  // namespace

std::vector<std::filesystem::path> dataSourceFiles() {
    return {systemFolder() / kDataSourceFile, userDataSourceFile()};
}

Registration findRegistration(const std::string& dataSource) {
    Registration registration;
    if (dataSource.empty()) {
        return registration;
    }
    const std::vector<std::filesystem::path> files = dataSourceFiles();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::filesystem::path& file = files[i];
        const bool userFile = i + 1 == files.size();
        if (!fileExists(file)) {
            continue;
        }
        const IniFile ini = readIni(file);
        const std::string where = "The ODBC data source file " + file.string();
        if (!ini.readable) {
            registration.problem = where + " cannot be read (" + ini.failure +
                                   "), so whether it registers the data source '" + dataSource +
                                   "' cannot be told; make it readable or remove it.";
            return registration;
        }
        const auto entry = ini.sections.find(toLowerAscii(dataSource));
        if (entry == ini.sections.end()) {
            continue;
        }
        // The user's entry is the one the driver manager takes when both files have one.
        registration.file = file;
        registration.attributes = entry->second;
        if (userFile && ::access(file.c_str(), W_OK) != 0) {
            registration.problem = where + " registers the data source '" + dataSource +
                                   "', but the driver manager ignores a user file that its user "
                                   "cannot write: make it writable by its user, or move the "
                                   "entry to the system's odbc.ini.";
            return registration;
        }
        const auto driver = entry->second.find("driver");
        if (driver == entry->second.end() || driver->second.empty()) {
            registration.problem =
                where + " registers the data source '" + dataSource + "' without a Driver line.";
            return registration;
        }
        if (const std::string problem = driverProblem(driver->second); !problem.empty()) {
            registration.problem =
                where + " registers the data source '" + dataSource + "', but " + problem + ".";
            return registration;
        }
    }
    return registration;
}

bool isRegistered(const std::string& dataSource) {
    return findRegistration(dataSource).file.has_value();
}

std::string storedAttribute(const std::string& dataSource,
                            std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        if (std::string value = profileString(dataSource, key); !value.empty()) {
            return value;
        }
    }
    return {};
}

UserFileGuard::UserFileGuard() {
    if (fileExists(userDataSourceFile())) {
        return;
    }
    if (const char* previous = std::getenv("ODBCINI")) {
        m_previous = previous;
    }
    m_replaced = ::setenv("ODBCINI", "/dev/null", 1) == 0;
}

UserFileGuard::~UserFileGuard() {
    if (!m_replaced) {
        return;
    }
    if (m_previous) {
        ::setenv("ODBCINI", m_previous->c_str(), 1);
    } else {
        ::unsetenv("ODBCINI");
    }
}

}  // namespace quillet::odbc
