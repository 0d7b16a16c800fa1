#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "VekClass.h"
#include "runtime/ProgramFolder.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using testing::countRows;
using testing::exec;
using testing::TempStore;

class DocumentRecords : public ::testing::Test {
protected:
    void SetUp() override {
        program = store.folder() / "program";
        fs::create_directories(program);
        setProgramFolder(program);
        exec({"insert into Document (SN, DOCNUMBER, TOPIC) values(1, 'D-1', 'Plans')",
              "insert into Document (SN, DOCNUMBER, TOPIC) values(2, 'D-2', 'Plans')"});
    }
    void TearDown() override { setProgramFolder({}); }

    fs::path file(const fs::path& relative) {
        const fs::path path = program / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "content";
        return path;
    }
    std::vector<std::string> prompts() const {
        std::vector<std::string> out;
        for (const auto& m : store.shown()) {
            out.push_back(m.prompt + "|" + std::to_string(m.buttons) + "|" + m.title);
        }
        return out;
    }

    TempStore store;
    fs::path program;
    VekClass vek;
};

TEST_F(DocumentRecords, DeletesFileAndRow) {
    const fs::path doc = file("DOCUMENT/Plans/d1.pdf");
    const fs::path sibling = file("DOCUMENT/Plans/d2.pdf");
    vek.deleteDoc("D-1", "Plans", "d1.pdf");
    EXPECT_FALSE(fs::exists(doc));
    EXPECT_TRUE(fs::exists(sibling));
    EXPECT_EQ(countRows("Document"), 1);
    EXPECT_EQ(prompts(), (std::vector<std::string>{"Deleted|64|Info"}));
    EXPECT_EQ(vek.a.toInteger(), 1);
    EXPECT_EQ(vek.str.toString(), "Delete * from Document where DOCNUMBER = 'D-1'");
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST_F(DocumentRecords, MissingFileStillDeletesTheRowThenReportsIt) {
    file("DOCUMENT/Plans/other.pdf");
    vek.deleteDoc("D-2", "Plans", "gone.pdf");
    EXPECT_EQ(testing::rows("select DOCNUMBER from Document"),
              (std::vector<std::vector<std::string>>{{"D-1"}}));
    EXPECT_EQ(prompts(), (std::vector<std::string>{"Deleted|64|Info", "File not found|0|Quillet"}));
}

TEST_F(DocumentRecords, NameLeavingItsFolderIsRefused) {
    const fs::path outside = file("x/d1.pdf");
    for (const std::string topic : {"../x", "..", ".", "", "Plans/..", "a\\b"}) {
        vek.deleteDoc("D-1", topic, "d1.pdf");
    }
    vek.deleteDoc("D-1", "Plans", "../../x/d1.pdf");
    EXPECT_TRUE(fs::exists(outside));
    EXPECT_EQ(countRows("Document"), 2);
    ASSERT_EQ(store.shown().size(), 7u);
    for (const auto& m : store.shown()) {
        EXPECT_EQ(m.prompt, "Bad file name or number");
        EXPECT_EQ(m.title, "Quillet");
    }
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST_F(DocumentRecords, ApostropheAndWildcardAreTakenAsTyped) {
    exec({"insert into Document (SN, DOCNUMBER) values(3, 'O''Hara')"});
    const fs::path star = file("DOCUMENT/Plans/*");
    const fs::path other = file("DOCUMENT/Plans/keep.pdf");
    vek.deleteDoc("O'Hara", "Plans", "*");
    EXPECT_FALSE(fs::exists(star));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_EQ(countRows("Document"), 2);
    EXPECT_EQ(prompts(), (std::vector<std::string>{"Deleted|64|Info"}));
}

TEST_F(DocumentRecords, DeleteDocFileRemovesEveryRowOfTheFile) {
    exec({"insert into DocumentFile (SN, DOCNUMBER) values(1, 'r.xls')",
          "insert into DocumentFile (SN, DOCNUMBER) values(2, 'r.xls')",
          "insert into DocumentFile (SN, DOCNUMBER) values(3, 'q.xls')"});
    const fs::path report = file("Report/Group1/r.xls");
    vek.deleteDocFile("r.xls", "Group1");
    EXPECT_FALSE(fs::exists(report));
    EXPECT_EQ(countRows("DocumentFile"), 1);
    EXPECT_EQ(vek.str.toString(), "Delete * from DocumentFile where DOCNUMBER = 'r.xls'");

    // A group folder that does not exist: the rows go, then the path error.
    vek.deleteDocFile("q.xls", "NoGroup");
    EXPECT_EQ(countRows("DocumentFile"), 0);
    EXPECT_EQ(prompts(), (std::vector<std::string>{"Deleted|64|Info", "Deleted|64|Info",
                                                   "Path not found|0|Quillet"}));
}

TEST_F(DocumentRecords, FailingRowDeleteShowsNoDeleted) {
    const fs::path doc = file("DOCUMENT/Plans/d1.pdf");
    exec({"DROP TABLE Document"});
    vek.deleteDoc("D-1", "Plans", "d1.pdf");
    EXPECT_FALSE(fs::exists(doc));  // the file goes first
    ASSERT_EQ(store.shown().size(), 1u);
    EXPECT_NE(store.shown()[0].prompt, "Deleted");
    EXPECT_EQ(store.shown()[0].buttons, 0);
}

}  // namespace
}  // namespace quillet
