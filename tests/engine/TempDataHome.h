#pragma once
// A fresh, private data folder per test: XDG_DATA_HOME (and HOME) point into a new temporary
// folder for the test's lifetime, so every test opens a store of its own.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace quillet::test {

class ScopedEnv {
public:
    ScopedEnv(std::string name, const std::optional<std::string>& value) : m_name(std::move(name)) {
        if (const char* old = std::getenv(m_name.c_str())) {
            m_old = old;
        }
        set(value);
    }
    ~ScopedEnv() { set(m_old); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(m_name.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

class TempDataHome {
public:
    TempDataHome()
        : m_root(makeRoot()),
          m_xdg("XDG_DATA_HOME", (m_root / "data").string()),
          m_home("HOME", (m_root / "home").string()) {}
    ~TempDataHome() {
        std::error_code ignored;
        std::filesystem::permissions(m_root, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_root, ignored);
    }
    TempDataHome(const TempDataHome&) = delete;
    TempDataHome& operator=(const TempDataHome&) = delete;

    const std::filesystem::path& root() const { return m_root; }
    std::filesystem::path dataHome() const { return m_root / "data"; }
    std::filesystem::path storeFile() const { return dataHome() / "quillet" / "quillet.db"; }

    /// Points XDG_DATA_HOME elsewhere (or unsets it) for the rest of the test.
    void setDataHome(const std::optional<std::string>& value) { m_xdg.set(value); }

private:
    static std::filesystem::path makeRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillet-test-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        return pattern;
    }

    std::filesystem::path m_root;
    ScopedEnv m_xdg;
    ScopedEnv m_home;
};

}  // namespace quillet::test
