// The output-file writer on its own: what it leaves in the target's folder when runs overlap,
// fail, or were killed before.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>

#include "files/OutputFile.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

class OutputFileTest : public ::testing::Test {
protected:
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(m_folder)) {
            found.insert(entry.path().filename().string());
        }
        return found;
    }
    static std::string contents(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void make(const std::string& name, std::optional<uid_t> owner = std::nullopt) const {
        std::ofstream(m_folder / name) << "left over";
        ::chmod((m_folder / name).c_str(), 0600);
        if (owner) {
            ASSERT_EQ(::chown((m_folder / name).c_str(), *owner, *owner), 0);
        }
    }

    TempStore m_home;
    const std::filesystem::path m_folder = m_home.folder();
};

TEST_F(OutputFileTest, OverlappingWritersToOneNameNeverRemoveEachOthersTemporary) {
    const std::filesystem::path target = m_folder / "r.csv";
    std::optional<OutputFile> first(std::in_place, target, OutputAccess::Shared);
    first->write("first\n");
    {
        // Made while the first is still writing: the first's temporary is no leftover.
        OutputFile second(target, OutputAccess::Shared);
        second.write("second\n");
        EXPECT_EQ(names().size(), 2u);
        second.commit();
    }
    first->commit();
    first.reset();
    EXPECT_EQ(names(), std::set<std::string>{"r.csv"});
    EXPECT_EQ(contents(target), "first\n");
}

TEST_F(OutputFileTest, AnUnfinishedFileLeavesNothingAndTheOldFileStands) {
    const std::filesystem::path target = m_folder / "r.csv";
    std::ofstream(target) << "old\n";
    {
        OutputFile abandoned(target, OutputAccess::Shared);
        abandoned.write("half");
    }
    EXPECT_EQ(names(), std::set<std::string>{"r.csv"});
    EXPECT_EQ(contents(target), "old\n");
}

TEST_F(OutputFileTest, LeftoversOfThisNameAndThisUserAreRemovedOthersKept) {
    // What a killed run leaves: its temporary and the side files a database engine made.
    make(".r.csv.AbCdEfGhIjKl.partial");
    make(".r.csv.AbCdEfGhIjKl.partial-journal");
    make(".r.csv.ZyXwVuTsRqPo.partial-wal");
    // Not this target's, not of this shape, or not this user's.
    make(".r.csv.x.AbCdEfGhIjKl.partial");
    make(".r.csvAbCdEfGhIjKl.partial");
    make(".r.csv.AbCdEfGhIjK.partial");
    make(".r.csv.AbCdEfGhIj-l.partial");
    std::set<std::string> kept = {".r.csv.x.AbCdEfGhIjKl.partial", ".r.csvAbCdEfGhIjKl.partial",
                                  ".r.csv.AbCdEfGhIjK.partial", ".r.csv.AbCdEfGhIj-l.partial"};
    if (::geteuid() == 0) {
        make(".r.csv.OtherUser000.partial", 65534);
        kept.insert(".r.csv.OtherUser000.partial");
    }
    OutputFile out(m_folder / "r.csv", OutputAccess::Shared);
    out.write("new\n");
    out.commit();
    kept.insert("r.csv");
    EXPECT_EQ(names(), kept);
}

TEST_F(OutputFileTest, ATargetThatIsNoFileNameIsRefused) {
    EXPECT_THROW(OutputFile(m_folder / "", OutputAccess::Shared), OutputFileError);
    EXPECT_THROW(OutputFile(m_folder / "missing" / "r.csv", OutputAccess::Shared), OutputFileError);
    std::filesystem::create_directory(m_folder / "folder");
    OutputFile onFolder(m_folder / "folder", OutputAccess::Shared);
    EXPECT_THROW(onFolder.commit(), OutputFileError);
    EXPECT_TRUE(std::filesystem::is_directory(m_folder / "folder"));
}

}  // namespace
}  // namespace quillet::testing
