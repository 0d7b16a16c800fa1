// Bringing an older record store to the layout the record operations expect. Each statement
// stands alone: one that fails (most often because the change is already there) is skipped.
#include "OperationFrame.h"
#include "VekClass.h"

namespace quillet {

Variant VekClass::altertableEmpDetail() {
    a = connectx();
    OperationFrame frame(Trap::ContinueOnError);
    const char* const statements[] = {
        "alter TABLE HolidayTable Alter column REMARK text (101)  ;",
        "alter TABLE EmpDetail  add column Code Integer ,NameHindi text (100)",
    };
    for (const char* statement : statements) {
        frame.step([&] { runOn(*Rs, statement); });
    }
    frame.step([&] { closeCon(); });
    return {};
}

Variant VekClass::altertabletransactiontable() {
    connectx();
    OperationFrame frame(Trap::ContinueOnError);
    const char* const statements[][2] = {
        {"alter TABLE transactiontable ", " add column REM1 text (200),REM2 Integer "},
        {"alter TABLE bank ", " add column REM1 text (200),REM2 Integer "},
        {"alter TABLE cash ", " add column REM1 text (200),REM2 Integer "},
        {"alter TABLE CHARGES ", " add column REM1 text (50) ,REM2 Integer "},
        {"CREATE TABLE BILLTABLETY ",
         "(SN number, DATEX DATE,BILLSERIALNUMBER NUMBER, BILLMONTH NUMBER, BILLYEAR NUMBER, "
         "MEMBERNUMBER NUMBER, MEMBERNAME TEXT, WING TEXT , FLATNUMBER  TEXT, FEETYPE TEXT, "
         "FEEAMOUNT NUMBER, DUEAMOUNT NUMBER  , LATEFEE NUMBER , LASTDATE DATE, REMARK TEXT );"},
        {"CREATE TABLE TYASSETNEW",
         "(LYear NUMBER, GeneralOrReserve text(50), FeeType text(50), LNum NUMBER, LAmount "
         "DOUBLE, AYear NUMBER, LorA text(50), ANum NUMBER);"},
        {"CREATE TABLE TYLIABILITYNEW",
         "(LYear number, GeneralOrReserve text(50), FeeType text(50), LNum number, LAmount "
         "DOUBLE, AYear number, LorA text(50), ANum number);"},
        {"CREATE TABLE BALANCESHEETNoW",
         "(SN number, LIABILITY text(50), LastYEARLiability text(50), AMOUNTOFLIABILITYLastYear "
         "DOUBLE, Head0neLiability text(100), HeadTwoLiability text(100), PresentYear text(50), "
         "AMOUNTPRESENTYEARLiability DOUBLE , ASSET text(100),LastYEARAsset text(50), "
         "AMOUNTOfAssetLastYear DOUBLE, Head0neAsset text(100), HeadTwoAsset text(100), "
         "PresentYearAsset text(50), AMOUNTPRESENTYEARAsset DOUBLE, SERIALOFLIABILITY NUMBER );"},
        {"CREATE TABLE LEDGERACCOUNT",
         "(SN number, MEMBERNUMBER number, DATEX DATE, PARTICULARS text(50), VCHTYPE text(50), "
         "VCHNUMBER NUMBER , DEBIT DOUBLE, CREDIT DOUBLE , Yearx NUMBER, Monthx NUMBER, "
         "MEMBERNAME text(50), MEMBERWING text(50),MEMBERFLAT text(50), CHEQUENUM text(50));"},
    };
    for (const auto& pieces : statements) {
        frame.step([&] {
            if (Rs->State() == kStateOpen) {
                Rs->Close();
            }
            str = std::string(pieces[0]) + pieces[1];
            Rs->Open(str.toString(), Con.shared(), kOpenKeyset, kLockReadOnly, kCmdUnspecified);
        });
    }
    // The connection is left open; the next operation's connectx closes and reopens it.
    return {};
}

}  // namespace quillet
