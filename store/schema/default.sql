-- The default schema of a new embedded Quillet store (SQLite dialect).
--
-- This text is compiled into the program and run, in one transaction, when the store file is
-- new or holds no tables. It is never run against an existing store.
--
-- Declared types are those the statement translator produces for the Access-style DDL the
-- program sends, so a column created here and one added later by a statement look the same:
--   TEXT(n) COLLATE NOCASE  text of up to n characters, compared without regard to case
--   NUMBER                  a number (whole or fractional, kept exactly as given)
--   DOUBLE                  a double-precision number (money amounts)
--   INTEGER                 a whole number
--   DATE                    a date, stored as ISO text: YYYY-MM-DD, with " HH:MM:SS" only when
--                           a time is present; the engine reads it back as a date
-- The engine decides how to bind a value by these declared types: keep them in this form.
--
-- Many statements insert by position, without a column list, so the column ORDER of a table is
-- part of its format. Add new columns at the end only, and only where no positional insert
-- writes the table.
--
-- Tables are grouped by the record family that writes them. A family extending its tables edits
-- the block under its own heading.
--
-- Tables that the accounting schema upgrade creates (BILLTABLETY, TYASSETNEW, TYLIABILITYNEW,
-- BALANCESHEETNoW, LEDGERACCOUNT) are deliberately absent: the upgrade creates them. The four
-- accounting tables it alters (transactiontable, bank, cash, CHARGES) are here in their layout
-- from before the upgrade, without REM1 and REM2, so that the upgrade has work to do.

------------------------------------------------------------------------------------------------
-- Loan schedule
------------------------------------------------------------------------------------------------

-- EMI: one row per instalment month of the most recent calculation. The schedule run inserts by
-- position; the grid and the report read it ordered by SN.
CREATE TABLE EMI (
    SN INTEGER,
    OpeningBalance NUMBER,
    Interest NUMBER,
    Principal NUMBER,
    ClosingBalance NUMBER,
    EMIDate DATE
);

------------------------------------------------------------------------------------------------
-- Employee, appointment and personnel records
------------------------------------------------------------------------------------------------

-- EmpDetail: one row per employee. The personnel insert writes all 23 values by position.
-- Column 19 (Active) is written as 1 by that insert and named by no statement.
-- A new store already has code and NameHindi, so the employee schema upgrade (which adds them)
-- finds them present and its statement fails harmlessly.
CREATE TABLE EmpDetail (
    SN NUMBER,
    Catagoryx TEXT(50) COLLATE NOCASE,
    NAME_ TEXT(100) COLLATE NOCASE,
    ADDRESS_ TEXT(255) COLLATE NOCASE,
    CITY TEXT(50) COLLATE NOCASE,
    RESIDENTIAL_PHONE TEXT(50) COLLATE NOCASE,
    MOBILE_No TEXT(50) COLLATE NOCASE,
    Datex DATE,
    DAYX NUMBER,
    MONTHX NUMBER,
    YEARX NUMBER,
    SERVICE_No TEXT(50) COLLATE NOCASE,
    REM_TYPE TEXT(50) COLLATE NOCASE,
    EMAIL_ID TEXT(100) COLLATE NOCASE,
    REMARK TEXT(255) COLLATE NOCASE,
    Designation TEXT(100) COLLATE NOCASE,
    EQUIPMENT TEXT(100) COLLATE NOCASE,
    PROJECT TEXT(100) COLLATE NOCASE,
    Active NUMBER,
    SBU TEXT(100) COLLATE NOCASE,
    Other TEXT(255) COLLATE NOCASE,
    code INTEGER,
    NameHindi TEXT(100) COLLATE NOCASE
);

-- Appointment: one row per appointment; the first 15 columns of EmpDetail, same meanings.
CREATE TABLE Appointment (
    SN NUMBER,
    Catagoryx TEXT(50) COLLATE NOCASE,
    NAME_ TEXT(100) COLLATE NOCASE,
    ADDRESS_ TEXT(255) COLLATE NOCASE,
    CITY TEXT(50) COLLATE NOCASE,
    RESIDENTIAL_PHONE TEXT(50) COLLATE NOCASE,
    MOBILE_No TEXT(50) COLLATE NOCASE,
    Datex DATE,
    DAYX NUMBER,
    MONTHX NUMBER,
    YEARX NUMBER,
    SERVICE_No TEXT(50) COLLATE NOCASE,
    REM_TYPE TEXT(50) COLLATE NOCASE,
    EMAIL_ID TEXT(100) COLLATE NOCASE,
    REMARK TEXT(255) COLLATE NOCASE
);

-- PersonEmployed: persons employed, keyed by SN. It has the 15-column appointment layout, which
-- is what the older 15-value personnel insert and the in-time update write.
CREATE TABLE PersonEmployed (
    SN NUMBER,
    Catagoryx TEXT(50) COLLATE NOCASE,
    NAME_ TEXT(100) COLLATE NOCASE,
    ADDRESS_ TEXT(255) COLLATE NOCASE,
    CITY TEXT(50) COLLATE NOCASE,
    RESIDENTIAL_PHONE TEXT(50) COLLATE NOCASE,
    MOBILE_No TEXT(50) COLLATE NOCASE,
    Datex DATE,
    DAYX NUMBER,
    MONTHX NUMBER,
    YEARX NUMBER,
    SERVICE_No TEXT(50) COLLATE NOCASE,
    REM_TYPE TEXT(50) COLLATE NOCASE,
    EMAIL_ID TEXT(100) COLLATE NOCASE,
    REMARK TEXT(255) COLLATE NOCASE
);

-- ManPower: one row per person and month, found by Name_, Month_ and Year_, with one numeric
-- attendance column per day of the month (one_ .. thirtyone_; the day statements name them
-- "<day word>_").
CREATE TABLE ManPower (
    SN NUMBER,
    Name_ TEXT(100) COLLATE NOCASE,
    Designation TEXT(100) COLLATE NOCASE,
    STAFF_No TEXT(50) COLLATE NOCASE,
    EQUIPMENT TEXT(100) COLLATE NOCASE,
    PROJECT TEXT(100) COLLATE NOCASE,
    Month_ NUMBER,
    Year_ NUMBER,
    one_ NUMBER,
    two_ NUMBER,
    three_ NUMBER,
    four_ NUMBER,
    five_ NUMBER,
    six_ NUMBER,
    seven_ NUMBER,
    eight_ NUMBER,
    nine_ NUMBER,
    ten_ NUMBER,
    eleven_ NUMBER,
    twelve_ NUMBER,
    thirteen_ NUMBER,
    fourteen_ NUMBER,
    fifteen_ NUMBER,
    sixteen_ NUMBER,
    seventeen_ NUMBER,
    eighteen_ NUMBER,
    nineteen_ NUMBER,
    twenty_ NUMBER,
    twentyone_ NUMBER,
    twentytwo_ NUMBER,
    twentythree_ NUMBER,
    twentyfour_ NUMBER,
    twentyfive_ NUMBER,
    twentysix_ NUMBER,
    twentyseven_ NUMBER,
    twentyeight_ NUMBER,
    twentynine_ NUMBER,
    thirty_ NUMBER,
    thirtyone_ NUMBER
);

-- Employeelist: a plain list of employees.
CREATE TABLE Employeelist (
    SN NUMBER,
    NAME_ TEXT(100) COLLATE NOCASE,
    Designation TEXT(100) COLLATE NOCASE,
    SERVICE_No TEXT(50) COLLATE NOCASE
);

-- Leavex: leave taken by a person.
CREATE TABLE Leavex (
    SN NUMBER,
    NAME_ TEXT(100) COLLATE NOCASE,
    FromDate DATE,
    ToDate DATE,
    LeaveType TEXT(50) COLLATE NOCASE,
    REMARK TEXT(255) COLLATE NOCASE
);

-- SalaryTable: salary paid per person and month.
CREATE TABLE SalaryTable (
    SN NUMBER,
    NAME_ TEXT(100) COLLATE NOCASE,
    MONTHX NUMBER,
    YEARX NUMBER,
    Amount DOUBLE,
    REMARK TEXT(255) COLLATE NOCASE
);

-- RemAdvance: advances paid to a person.
CREATE TABLE RemAdvance (
    SN NUMBER,
    NAME_ TEXT(100) COLLATE NOCASE,
    DATEX DATE,
    Amount DOUBLE,
    REMARK TEXT(255) COLLATE NOCASE
);

-- Gangaway: gangway passes.
CREATE TABLE Gangaway (
    SN NUMBER,
    NAME_ TEXT(100) COLLATE NOCASE,
    DATEX DATE,
    REMARK TEXT(255) COLLATE NOCASE
);

-- HolidayTable: holidays. The employee schema upgrade widens REMARK to 101 characters.
CREATE TABLE HolidayTable (
    SN NUMBER,
    HolidayDate DATE,
    REMARK TEXT(50) COLLATE NOCASE
);

------------------------------------------------------------------------------------------------
-- Visitor records
------------------------------------------------------------------------------------------------

-- Visitor: one row per visit. The visitor insert writes all 20 values by position.
CREATE TABLE Visitor (
    SN NUMBER,
    Catagoryx TEXT(50) COLLATE NOCASE,
    SubCategory_ TEXT(50) COLLATE NOCASE,
    Name_ TEXT(100) COLLATE NOCASE,
    StaffNo TEXT(50) COLLATE NOCASE,
    Designation TEXT(100) COLLATE NOCASE,
    Unit TEXT(100) COLLATE NOCASE,
    PurposeOfVisit TEXT(255) COLLATE NOCASE,
    Address_ TEXT(255) COLLATE NOCASE,
    DateOfVisit DATE,
    ValidFrom DATE,
    ValidTo DATE,
    ContactDetail TEXT(255) COLLATE NOCASE,
    MobileNo TEXT(50) COLLATE NOCASE,
    REMARK TEXT(255) COLLATE NOCASE,
    Work_Area TEXT(100) COLLATE NOCASE,
    System TEXT(100) COLLATE NOCASE,
    WorkOrderNo TEXT(50) COLLATE NOCASE,
    WorkOrderDate DATE,
    WorkOrderValidity DATE
);

------------------------------------------------------------------------------------------------
-- Item, cable and status records
------------------------------------------------------------------------------------------------

-- Cable, CABLES, CableDetail: cables with their connector parts. The cable insert writes all 8
-- values by position into the table its caller names; the cable delete uses Cable.
CREATE TABLE Cable (
    SN NUMBER,
    CableNum TEXT(50) COLLATE NOCASE,
    ConnDesc TEXT(255) COLLATE NOCASE,
    ConnPartNo TEXT(100) COLLATE NOCASE,
    BackShell TEXT(100) COLLATE NOCASE,
    Boot TEXT(100) COLLATE NOCASE,
    StripSteel TEXT(100) COLLATE NOCASE,
    Remarks TEXT(255) COLLATE NOCASE
);

CREATE TABLE CABLES (
    SN NUMBER,
    CableNum TEXT(50) COLLATE NOCASE,
    ConnDesc TEXT(255) COLLATE NOCASE,
    ConnPartNo TEXT(100) COLLATE NOCASE,
    BackShell TEXT(100) COLLATE NOCASE,
    Boot TEXT(100) COLLATE NOCASE,
    StripSteel TEXT(100) COLLATE NOCASE,
    Remarks TEXT(255) COLLATE NOCASE
);

CREATE TABLE CableDetail (
    SN NUMBER,
    CableNum TEXT(50) COLLATE NOCASE,
    ConnDesc TEXT(255) COLLATE NOCASE,
    ConnPartNo TEXT(100) COLLATE NOCASE,
    BackShell TEXT(100) COLLATE NOCASE,
    Boot TEXT(100) COLLATE NOCASE,
    StripSteel TEXT(100) COLLATE NOCASE,
    Remarks TEXT(255) COLLATE NOCASE
);

-- CableStatus: the current status of a cable. The status insert writes all 4 values by
-- position; column 3 (StatusDate) is the day the status was set and is named by no statement.
CREATE TABLE CableStatus (
    SN NUMBER,
    CableNum TEXT(50) COLLATE NOCASE,
    StatusDate DATE,
    Remarks TEXT(255) COLLATE NOCASE
);

-- PARTNUMBER, ITEMDETAIL: items with their part number and a remark. The item insert writes
-- all 4 values by position; the item delete uses PARTNUMBER.
CREATE TABLE PARTNUMBER (
    SN NUMBER,
    Item TEXT(255) COLLATE NOCASE,
    PartNo TEXT(100) COLLATE NOCASE,
    Remark TEXT(255) COLLATE NOCASE
);

CREATE TABLE ITEMDETAIL (
    SN NUMBER,
    Item TEXT(255) COLLATE NOCASE,
    PartNo TEXT(100) COLLATE NOCASE,
    Remark TEXT(255) COLLATE NOCASE
);

-- StatusItem: the status of an item by its serial number. The item status insert writes all 5
-- values by position.
CREATE TABLE StatusItem (
    SN NUMBER,
    Item TEXT(255) COLLATE NOCASE,
    PartNo TEXT(100) COLLATE NOCASE,
    SerialNo TEXT(100) COLLATE NOCASE,
    Status TEXT(255) COLLATE NOCASE
);

-- Wiring: wires and their numbers.
CREATE TABLE WireDetail (
    SN NUMBER,
    WireNum TEXT(50) COLLATE NOCASE,
    FromPoint TEXT(100) COLLATE NOCASE,
    ToPoint TEXT(100) COLLATE NOCASE,
    Remarks TEXT(255) COLLATE NOCASE
);

CREATE TABLE WireNumber (
    SN NUMBER,
    WireNum TEXT(50) COLLATE NOCASE,
    Remarks TEXT(255) COLLATE NOCASE
);

------------------------------------------------------------------------------------------------
-- Document records
------------------------------------------------------------------------------------------------

-- Document: one row per document filed under a topic, found by DOCNUMBER. The file itself lies
-- in the program folder's DOCUMENT/<TOPIC>/<FileName>.
CREATE TABLE Document (
    SN NUMBER,
    DOCNUMBER TEXT(100) COLLATE NOCASE,
    TOPIC TEXT(100) COLLATE NOCASE,
    FileName TEXT(255) COLLATE NOCASE,
    Subject TEXT(255) COLLATE NOCASE,
    DATEX DATE,
    REMARK TEXT(255) COLLATE NOCASE
);

-- DocumentFile: one row per document file filed under a group; DOCNUMBER holds the file's name
-- (program folder's Report/<GroupName>/<DOCNUMBER>).
CREATE TABLE DocumentFile (
    SN NUMBER,
    DOCNUMBER TEXT(255) COLLATE NOCASE,
    GroupName TEXT(100) COLLATE NOCASE,
    DATEX DATE,
    REMARK TEXT(255) COLLATE NOCASE
);

------------------------------------------------------------------------------------------------
-- Mail and medical records
------------------------------------------------------------------------------------------------

-- MailRecord: the mail register. The mail insert writes all 8 values by position.
CREATE TABLE MailRecord (
    SN NUMBER,
    FileNo TEXT(50) COLLATE NOCASE,
    Date_ DATE,
    Place TEXT(100) COLLATE NOCASE,
    Subject_ TEXT(255) COLLATE NOCASE,
    Remark TEXT(255) COLLATE NOCASE,
    In_Out TEXT(10) COLLATE NOCASE,
    Other TEXT(255) COLLATE NOCASE
);

-- MedicalRecord, MedicalRecordHindi, MedicalRecordHindiName: the medical claims registers, one
-- layout. The claim insert writes all 10 values by position; SystemSN counts within one
-- forwarding date, SN within one file number. Date_Return is written as quoted text: an empty
-- text stores no date, a text that is not a date is refused.
CREATE TABLE MedicalRecord (
    SystemSN NUMBER,
    FileNo TEXT(50) COLLATE NOCASE,
    DATE_Forward DATE,
    SN NUMBER,
    Name_ TEXT(100) COLLATE NOCASE,
    StaffNo TEXT(50) COLLATE NOCASE,
    Amount_Claimed DOUBLE,
    Date_Return DATE,
    Amount_Passed DOUBLE,
    Remark TEXT(255) COLLATE NOCASE
);

CREATE TABLE MedicalRecordHindi (
    SystemSN NUMBER,
    FileNo TEXT(50) COLLATE NOCASE,
    DATE_Forward DATE,
    SN NUMBER,
    Name_ TEXT(100) COLLATE NOCASE,
    StaffNo TEXT(50) COLLATE NOCASE,
    Amount_Claimed DOUBLE,
    Date_Return DATE,
    Amount_Passed DOUBLE,
    Remark TEXT(255) COLLATE NOCASE
);

CREATE TABLE MedicalRecordHindiName (
    SystemSN NUMBER,
    FileNo TEXT(50) COLLATE NOCASE,
    DATE_Forward DATE,
    SN NUMBER,
    Name_ TEXT(100) COLLATE NOCASE,
    StaffNo TEXT(50) COLLATE NOCASE,
    Amount_Claimed DOUBLE,
    Date_Return DATE,
    Amount_Passed DOUBLE,
    Remark TEXT(255) COLLATE NOCASE
);

------------------------------------------------------------------------------------------------
-- Code lists and work records (emptied by the purge; no operation of the class writes them)
------------------------------------------------------------------------------------------------

CREATE TABLE CategoryTable (
    SN NUMBER,
    Category TEXT(100) COLLATE NOCASE
);

CREATE TABLE PROJECT_CODES (
    SN NUMBER,
    ProjectCode TEXT(50) COLLATE NOCASE,
    Description TEXT(255) COLLATE NOCASE
);

CREATE TABLE SHIP_CODES (
    SN NUMBER,
    ShipCode TEXT(50) COLLATE NOCASE,
    Description TEXT(255) COLLATE NOCASE
);

CREATE TABLE Customercodes (
    SN NUMBER,
    CustomerCode TEXT(50) COLLATE NOCASE,
    CustomerName TEXT(255) COLLATE NOCASE
);

CREATE TABLE System_ (
    SN NUMBER,
    SystemName TEXT(100) COLLATE NOCASE,
    Description TEXT(255) COLLATE NOCASE
);

CREATE TABLE wherex (
    SN NUMBER,
    Location TEXT(100) COLLATE NOCASE,
    Description TEXT(255) COLLATE NOCASE
);

-- pur: purchases.
CREATE TABLE pur (
    SN NUMBER,
    Item TEXT(255) COLLATE NOCASE,
    Quantity NUMBER,
    DATEX DATE,
    REMARK TEXT(255) COLLATE NOCASE
);

-- WDR and CopyOfWDR (a copy kept by the same layout): work done reports.
CREATE TABLE WDR (
    SN NUMBER,
    DATEX DATE,
    Work TEXT(255) COLLATE NOCASE,
    EQUIPMENT TEXT(100) COLLATE NOCASE,
    PROJECT TEXT(100) COLLATE NOCASE,
    REMARK TEXT(255) COLLATE NOCASE
);

CREATE TABLE CopyOfWDR (
    SN NUMBER,
    DATEX DATE,
    Work TEXT(255) COLLATE NOCASE,
    EQUIPMENT TEXT(100) COLLATE NOCASE,
    PROJECT TEXT(100) COLLATE NOCASE,
    REMARK TEXT(255) COLLATE NOCASE
);

CREATE TABLE WorkAhead (
    SN NUMBER,
    DATEX DATE,
    Work TEXT(255) COLLATE NOCASE,
    REMARK TEXT(255) COLLATE NOCASE
);

CREATE TABLE WorkDetail (
    SN NUMBER,
    DATEX DATE,
    Work TEXT(255) COLLATE NOCASE,
    REMARK TEXT(255) COLLATE NOCASE
);

------------------------------------------------------------------------------------------------
-- Accounting (layout from before the accounting schema upgrade: no REM1, REM2)
------------------------------------------------------------------------------------------------

CREATE TABLE transactiontable (
    SN NUMBER,
    DATEX DATE,
    MEMBERNUMBER NUMBER,
    PARTICULARS TEXT(100) COLLATE NOCASE,
    VCHTYPE TEXT(50) COLLATE NOCASE,
    VCHNUMBER NUMBER,
    DEBIT DOUBLE,
    CREDIT DOUBLE
);

CREATE TABLE bank (
    SN NUMBER,
    DATEX DATE,
    PARTICULARS TEXT(100) COLLATE NOCASE,
    CHEQUENUM TEXT(50) COLLATE NOCASE,
    DEBIT DOUBLE,
    CREDIT DOUBLE
);

CREATE TABLE cash (
    SN NUMBER,
    DATEX DATE,
    PARTICULARS TEXT(100) COLLATE NOCASE,
    DEBIT DOUBLE,
    CREDIT DOUBLE
);

CREATE TABLE CHARGES (
    SN NUMBER,
    FEETYPE TEXT(50) COLLATE NOCASE,
    FEEAMOUNT DOUBLE,
    LATEFEE DOUBLE
);
