// The five record deletes share one shape: the serial's row goes and "Deleted" is said whether or
// not it had a row; a failing statement raises before anything is said.
#include "RecordsFixture.h"

namespace quillet::testing {
namespace {

class RecordDeletesTest : public RecordsTest {};

TEST_F(RecordDeletesTest, EachDeleteRemovesItsRowAndSaysDeletedEvenWithoutOne) {
    const std::vector<std::pair<std::string, Variant (VekClass::*)(std::int16_t)>> deletes = {
        {"cable", &VekClass::deleteCable},         {"PARTNUMBER", &VekClass::deleteItem},
        {"Appointment", &VekClass::deleteApp},     {"PersonEmployed", &VekClass::deleteEmployed},
        {"EmpDetail", &VekClass::deletepersonnel},
    };
    for (const auto& [table, remove] : deletes) {
        SCOPED_TRACE(table);
        exec({"insert into " + table + " (SN) values(5)",
              "insert into " + table + " (SN) values(6)"});

        (vek.*remove)(5);
        (vek.*remove)(99);

        EXPECT_EQ(rows("select SN from " + table), std::vector<std::vector<std::string>>{{"6"}});
        EXPECT_EQ(vek.str.toString(), "Delete * from " + table + " where SN = 99");

        exec({"drop table " + table});
        EXPECT_THROW((vek.*remove)(6), RuntimeError);
    }
    EXPECT_EQ(messages(), std::vector<std::string>(2 * deletes.size(), "Deleted|64|Info"));
}

}  // namespace
}  // namespace quillet::testing
