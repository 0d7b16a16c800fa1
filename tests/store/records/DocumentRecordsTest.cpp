// Document records: a document's row goes with its file under the program folder, and no name
// may lead the delete out of its folder.
#include <filesystem>
#include <fstream>

#include "RecordsFixture.h"
#include "runtime/ProgramFolder.h"

namespace quillet::testing {
namespace {

namespace fs = std::filesystem;

class DocumentRecordsTest : public RecordsTest {
protected:
    void SetUp() override {
        program = store.folder() / "program";
        fs::create_directories(program);
        setProgramFolder(program);
        exec({"insert into Document (SN, DOCNUMBER, TOPIC) values(1, 'O''Hara', 'Plans')",
              "insert into Document (SN, DOCNUMBER, TOPIC) values(2, 'D-2', 'Plans')"});
    }
    void TearDown() override { setProgramFolder({}); }

    fs::path file(const fs::path& relative) {
        const fs::path path = program / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "content";
        return path;
    }

    fs::path program;
};

TEST_F(DocumentRecordsTest, DeleteDocRemovesTheFileAsNamedAndTheRowEvenWhenTheFileIsMissing) {
    // A '*' is a file name like any other, never a pattern.
    const fs::path doc = file("DOCUMENT/Plans/*");
    const fs::path sibling = file("DOCUMENT/Plans/d2.pdf");

    vek.deleteDoc("O'Hara", "Plans", "*");

    EXPECT_FALSE(fs::exists(doc));
    EXPECT_TRUE(fs::exists(sibling));
    EXPECT_EQ(rows("select DOCNUMBER from Document"), (Rows{{"D-2"}}));

    // A missing file alone still deletes the row, says so, then reports the file.
    vek.deleteDoc("D-2", "Plans", "gone.pdf");
    EXPECT_EQ(countRows("Document"), 0);

    // A failing row delete shows the error instead of "Deleted"; the file goes first.
    exec({"DROP TABLE Document"});
    vek.deleteDoc("D-2", "Plans", "d2.pdf");
    EXPECT_FALSE(fs::exists(sibling));
    EXPECT_THAT(messages(), ElementsAre("Deleted|64|Info", "Deleted|64|Info",
                                        "File not found|0|Quillet", HasSubstr("|0|")));
}

TEST_F(DocumentRecordsTest, ANameLeavingItsFolderIsRefusedWithNothingDeleted) {
    const fs::path outside = file("x/d1.pdf");
    for (const std::string topic : {"../x", "..", "a\\b"}) {
        vek.deleteDoc("D-2", topic, "d1.pdf");
    }
    vek.deleteDoc("D-2", "Plans", "../../x/d1.pdf");

    EXPECT_TRUE(fs::exists(outside));
    EXPECT_EQ(countRows("Document"), 2);
    EXPECT_EQ(messages(), std::vector<std::string>(4, "Bad file name or number|0|Quillet"));
}

TEST_F(DocumentRecordsTest, DeleteDocFileRemovesEveryRowOfTheFileThenReportsAMissingGroup) {
    exec({"insert into DocumentFile (SN, DOCNUMBER) values(1, 'r.xls')",
          "insert into DocumentFile (SN, DOCNUMBER) values(2, 'r.xls')",
          "insert into DocumentFile (SN, DOCNUMBER) values(3, 'q.xls')"});
    const fs::path report = file("Report/Group1/r.xls");

    vek.deleteDocFile("r.xls", "Group1");
    EXPECT_FALSE(fs::exists(report));
    EXPECT_EQ(countRows("DocumentFile"), 1);

    vek.deleteDocFile("q.xls", "NoGroup");
    EXPECT_EQ(countRows("DocumentFile"), 0);
    EXPECT_EQ(messages(), (std::vector<std::string>{"Deleted|64|Info", "Deleted|64|Info",
                                                    "Path not found|0|Quillet"}));
}

}  // namespace
}  // namespace quillet::testing
