// The statements the program and its record operations send, as they are written, against the
// engine SQL and the parameters they must become.
#include <gtest/gtest.h>

#include "TranslationMatchers.h"

namespace quillet::dialect::test {
namespace {

struct Case {
    const char* name;
    std::string input;
    std::string sql;
    std::string table;  // of the parameters
    std::vector<Expected> parameters;
    bool returnsRows = false;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.input;
}

std::string caseName(const ::testing::TestParamInfo<Case>& p) {
    return p.param.name;
}

class StatementTranslation : public ::testing::TestWithParam<Case> {};

TEST_P(StatementTranslation, GivesEngineSqlAndParameters) {
    const Case& c = GetParam();
    const Translation t = translate(c.input);
    ASSERT_EQ(t.statements.size(), 1u);
    EXPECT_FALSE(t.alterColumn);
    EXPECT_EQ(t.statements[0].sql, c.sql);
    EXPECT_EQ(t.returnsRows, c.returnsRows);
    expectParameters(t.statements[0], c.table, c.parameters);
}

const std::string kHindiName = "\u0938\u0941\u0930\u0947\u0936 \u0915\u0941\u092e\u093e\u0930";

INSTANTIATE_TEST_SUITE_P(
    Schedule, StatementTranslation,
    ::testing::Values(
        Case{"EmptyTheSchedule", "delete * from EMI", "DELETE FROM EMI", "", {}},
        Case{"InsertWholeMonth",
             "insert into EMI values(1,1000000,5000,6102,993898,#01/Jan/2024#)",
             "insert into EMI values(?,?,?,?,?,?)",
             "EMI",
             {number("1", "", 0), number("1000000", "", 1), number("5000", "", 2),
              number("6102", "", 3), number("993898", "", 4), date("2024-01-01", "", 5)}},
        Case{"InsertTwoDecimals",
             "insert into EMI values(1,1000000,5000,6102.05,993897.95,#01/Jan/2024#)",
             "insert into EMI values(?,?,?,?,?,?)",
             "EMI",
             {number("1", "", 0), number("1000000", "", 1), number("5000", "", 2),
              number("6102.05", "", 3), number("993897.95", "", 4), date("2024-01-01", "", 5)}},
        Case{"InsertLastMonthClosingZero",
             "insert into EMI values(360,1608.1,6.7,1603.76,0,#01/Dec/2053#)",
             "insert into EMI values(?,?,?,?,?,?)",
             "EMI",
             {number("360", "", 0), number("1608.1", "", 1), number("6.7", "", 2),
              number("1603.76", "", 3), number("0", "", 4), date("2053-12-01", "", 5)}},
        Case{"GridQueryKeepsItsBlanks",
             "Select  * from EMI order by SN asc",
             "Select  * from EMI order by SN asc",
             "",
             {},
             true}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Queries, StatementTranslation,
    ::testing::Values(
        Case{"FillDistinct",
             "Select distinct(NAME_) from EmpDetail order by NAME_ asc",
             "Select distinct(NAME_) from EmpDetail order by NAME_ asc",
             "",
             {},
             true},
        Case{"FillContains",
             "Select distinct(NAME_) from EmpDetail where NAME_ Like '%ra%' order by NAME_ desc",
             "Select distinct(NAME_) from EmpDetail where NAME_ Like '%ra%' order by NAME_ desc",
             "",
             {},
             true},
        Case{"LookupBySerial",
             "Select SN , Catagoryx, NAME_,Datex, ADDRESS_, city, RESIDENTIAL_PHONE, MOBILE_No, "
             "SERVICE_No, EMAIL_ID, REMARK from Appointment where sn = 5",
             "Select SN , Catagoryx, NAME_,Datex, ADDRESS_, city, RESIDENTIAL_PHONE, MOBILE_No, "
             "SERVICE_No, EMAIL_ID, REMARK from Appointment where sn = 5",
             "",
             {},
             true},
        Case{"LookupByNameWithApostrophe",
             "Select SN from EmpDetail where NAME_ = 'O''Brien'",
             "Select SN from EmpDetail where NAME_ = 'O''Brien'",
             "",
             {},
             true},
        Case{"LookupWithTwoBlanksBeforeOrder",
             "Select SN from Cable where CableNum = 'C-101'  order by CableNum asc",
             "Select SN from Cable where CableNum = 'C-101'  order by CableNum asc",
             "",
             {},
             true},
        Case{"NewSerial", "select max(SN) from EMI", "select max(SN) from EMI", "", {}, true},
        Case{"SerialWithinForwardingDate",
             "select max(SystemSN) from MedicalRecord where DATE_Forward = #05/Mar/2024#",
             "select max(SystemSN) from MedicalRecord where DATE_Forward = '2024-03-05'",
             "",
             {},
             true},
        Case{"DateWithTimeInWhere",
             "Select * from Visitor where DateOfVisit >= #5-3-2024 9:05#",
             "Select * from Visitor where DateOfVisit >= '2024-03-05 09:05:00'",
             "",
             {},
             true},
        Case{"HashInsideTextStaysText",
             "Select * from T where A = 'no # date' and [b#] = 1",
             "Select * from T where A = 'no # date' and [b#] = 1",
             "",
             {},
             true},
        Case{"ParenthesisedSelect",
             "(SELECT SN FROM EMI) UNION (SELECT SN FROM EMI)",
             "(SELECT SN FROM EMI) UNION (SELECT SN FROM EMI)",
             "",
             {},
             true},
        Case{"With",
             "WITH x AS (SELECT 1 AS a) SELECT a FROM x",
             "WITH x AS (SELECT 1 AS a) SELECT a FROM x",
             "",
             {},
             true},
        Case{"TrailingSemicolonsAndBlanks",
             "  Select * from EMI ;  ;\n",
             "Select * from EMI",
             "",
             {},
             true},
        Case{"MinusMinusIsNoComment",
             "select 5--3, 6/*2 from EMI",
             "select 5- -3, 6/ *2 from EMI",
             "",
             {},
             true}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    RecordWrites, StatementTranslation,
    ::testing::Values(
        Case{"PurgeFirst", "Delete * from Appointment", "DELETE FROM Appointment", "", {}},
        Case{"PurgeUnderscore", "Delete * from System_", "DELETE FROM System_", "", {}},
        Case{"PurgeCapitals", "Delete * from PROJECT_CODES", "DELETE FROM PROJECT_CODES", "", {}},
        Case{"PurgeMixedCase", "Delete * from DOCUMENTFile", "DELETE FROM DOCUMENTFile", "", {}},
        Case{"PurgeLast", "Delete * from CopyOfWDR", "DELETE FROM CopyOfWDR", "", {}},
        Case{"DeleteBySerial",
             "Delete * from PersonEmployed where SN = 7",
             "DELETE FROM PersonEmployed where SN = 7",
             "",
             {}},
        Case{"DeleteByText",
             "Delete * from Document where DOCNUMBER = 'D''7'",
             "DELETE FROM Document where DOCNUMBER = 'D''7'",
             "",
             {}},
        Case{"PlainDeleteFrom",
             "delete   from EMI where EMIDate < #01/02/2024#",
             "DELETE FROM EMI where EMIDate < '2024-02-01'",
             "",
             {}},
        Case{"InsertCable",
             "insert into Cable values(5,'C-101','Plug 9 pin','PN-77','BS-2','B-1','SS','spare')",
             "insert into Cable values(?,?,?,?,?,?,?,?)",
             "Cable",
             {number("5", "", 0), text("C-101", "", 1), text("Plug 9 pin", "", 2),
              text("PN-77", "", 3), text("BS-2", "", 4), text("B-1", "", 5), text("SS", "", 6),
              text("spare", "", 7)}},
        Case{"InsertStatusWithDate",
             "insert into CableStatus values(12,'C-101',#05/Mar/2024#,'Tested OK')",
             "insert into CableStatus values(?,?,?,?)",
             "CableStatus",
             {number("12", "", 0), text("C-101", "", 1), date("2024-03-05", "", 2),
              text("Tested OK", "", 3)}},
        Case{"InsertMedicalQuotedDateStaysText",
             "insert into MedicalRecord values(4,'F-1',#05/03/2024#,2,'Ravi','S-9',1500.5,"
             "'07/03/2024',1200,'')",
             "insert into MedicalRecord values(?,?,?,?,?,?,?,?,?,?)",
             "MedicalRecord",
             {number("4", "", 0), text("F-1", "", 1), date("2024-03-05", "", 2), number("2", "", 3),
              text("Ravi", "", 4), text("S-9", "", 5), number("1500.5", "", 6),
              text("07/03/2024", "", 7), number("1200", "", 8), text("", "", 9)}},
        Case{"InsertHindi",
             "insert into MedicalRecordHindiName values(3,'" + kHindiName + "','d''Souza')",
             "insert into MedicalRecordHindiName values(?,?,?)",
             "MedicalRecordHindiName",
             {number("3", "", 0), text(kHindiName, "", 1), text("d'Souza", "", 2)}},
        Case{"InsertColumnsSignsAndExpressions",
             "insert into [Pay Sheet] ([Net Pay], \"Code\", SN, Remark) values( -5 , + 2.5e3 ,"
             " SN+1, Null)",
             "insert into [Pay Sheet] ([Net Pay], \"Code\", SN, Remark) values( ? , ? , SN+1, "
             "Null)",
             "Pay Sheet",
             {number("-5", "Net Pay"), number("+2.5e3", "Code")}},
        Case{"NumberForms",
             "insert into N values(.5, 5., 1e3, 2.5E-3, 0.015)",
             "insert into N values(?, ?, ?, ?, ?)",
             "N",
             {number(".5", "", 0), number("5.", "", 1), number("1e3", "", 2),
              number("2.5E-3", "", 3), number("0.015", "", 4)}},
        Case{"UpdateWithQuotedDateAndHindi",
             "UPDATE EmpDetail SET Catagoryx = 'A', NAME_ = 'O''Neil', Datex = '1970-03-25', "
             "DAYX = 25, MONTHX = 3, YEARX = 1970, code = 4, NameHindi = '" +
                 kHindiName + "' WHERE SN = 17",
             "UPDATE EmpDetail SET Catagoryx = ?, NAME_ = ?, Datex = ?, DAYX = ?, MONTHX = ?, "
             "YEARX = ?, code = ?, NameHindi = ? WHERE SN = 17",
             "EmpDetail",
             {text("A", "Catagoryx"), text("O'Neil", "NAME_"), text("1970-03-25", "Datex"),
              number("25", "DAYX"), number("3", "MONTHX"), number("1970", "YEARX"),
              number("4", "code"), text(kHindiName, "NameHindi")}},
        Case{"UpdateWithHashDate",
             "UPDATE Appointment SET Catagoryx = 'V', Datex = #25/Mar/1970#, DAYX = 25, "
             "REMARK = '' WHERE SN = 3",
             "UPDATE Appointment SET Catagoryx = ?, Datex = ?, DAYX = ?, REMARK = ? WHERE SN = 3",
             "Appointment",
             {text("V", "Catagoryx"), date("1970-03-25", "Datex"), number("25", "DAYX"),
              text("", "REMARK")}},
        Case{"UpdateInTime",
             "UPDATE Appointment SET MOBILE_No = '10:30', REM_TYPE = 'IN' WHERE SN = 4",
             "UPDATE Appointment SET MOBILE_No = ?, REM_TYPE = ? WHERE SN = 4",
             "Appointment",
             {text("10:30", "MOBILE_No"), text("IN", "REM_TYPE")}},
        Case{"UpdateKeepsExpressionsAndWhereLiterals",
             "UPDATE T SET t.a = a + 1, b = (SELECT max(SN) FROM T WHERE c = 'x'), d = Null "
             "WHERE e = 'y' AND f = #1/1/2024#",
             "UPDATE T SET t.a = a + 1, b = (SELECT max(SN) FROM T WHERE c = 'x'), d = Null "
             "WHERE e = 'y' AND f = '2024-01-01'",
             "",
             {}},
        // The month number names no column: the engine must refuse it, so nothing is lifted.
        Case{"UpdateOfNoColumnPassesAsWritten",
             "UPDATE ManPower SET  3 = 1 WHERE Name_ = 'a' and  Month_ = 3 and Year_ = 2024",
             "UPDATE ManPower SET  3 = 1 WHERE Name_ = 'a' and  Month_ = 3 and Year_ = 2024",
             "",
             {}}),
    caseName);

// The engine keeps one prepared statement per SQL text; a whole schedule must share one.
TEST(StatementTranslation, EveryScheduleRowSharesOneStatement) {
    const std::string first =
        translate("insert into EMI values(1,1000000,5000,6102,993898,#01/Jan/2024#)")
            .statements.at(0)
            .sql;
    for (const char* row :
         {"insert into EMI values(2,993898,4969.49,6133.51,987764.49,#1/Feb/2024#)",
          "insert into EMI values(32767,-0.5,0,-1e-3,0,#2024-03-01 10:00#)"}) {
        EXPECT_EQ(translate(row).statements.at(0).sql, first) << row;
    }
}

}  // namespace
}  // namespace quillet::dialect::test
