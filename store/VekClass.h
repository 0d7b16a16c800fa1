#pragma once
/// \file
/// \brief VekClass: the record-store access class. Every operation on stored records is one of
/// its methods; every instance carries its own connection, recordsets, statement text and a
/// one-record buffer of public fields.
///
/// Nearly every operation runs the common operation frame (OperationFrame.h): it reopens the
/// connection with connectx, builds its statement into `str`, runs it through `Rs`, reads the
/// fields it needs, may show an information message (its button goes to `a`), and closes the
/// connection, all under one of three error traps. Each method's comment names its trap.
///
/// Values the class quotes into a statement are escaped; values it writes bare must read as
/// numbers; names handed in by callers must be plain identifiers. A value that fails these checks
/// fails the operation the way a failing statement does, before any SQL runs.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "quillet_store_export.h"
#include "runtime/Date.h"
#include "runtime/Variant.h"
#include "ui/Controls.h"

namespace quillet {

/// \brief The connection string of the default settings: data source "det", user "Admin" and
/// the default password, joined as connectx joins them.
QUILLET_STORE_EXPORT std::string defaultConnectionString();

class OperationFrame;
class WriteTransaction;

/// \brief An object member created on first use, so it is never empty when used.
template <class T>
class Lazy {
public:
    T* operator->() { return &get(); }
    T& operator*() { return get(); }
    T& get() {
        if (!m_object) {
            m_object = std::make_shared<T>();
        }
        return *m_object;
    }
    /// The shared object (created if needed), for a recordset that keeps its connection.
    const std::shared_ptr<T>& shared() {
        get();
        return m_object;
    }
    bool created() const { return m_object != nullptr; }

private:
    std::shared_ptr<T> m_object;
};

class QUILLET_STORE_EXPORT VekClass {
public:
    VekClass() = default;
    VekClass(const VekClass&) = delete;
    VekClass& operator=(const VekClass&) = delete;

    // ---- Members, in their order -------------------------------------------------------------
    Lazy<Connection> Con;
    Lazy<Recordset> Rs;
    Lazy<Recordset> RsTwo;
    Lazy<Recordset> RsThree;
    Lazy<Recordset> RsFour;
    Variant a;    ///< result of the last message box, or of connectx
    Variant str;  ///< the statement text in progress; left holding the text that ran
    Variant DSNNAME;
    Variant userID;
    Variant Password;
    Variant LogedPerson;
    // The record buffer.
    Variant Statusx_;
    std::string eightx;
    Variant DATEX_;
    Variant CableNum_;
    Variant ConnDesc_;
    Variant ConnPartNo_;
    Variant BackShell_;
    Variant Boot_;
    Variant StripSteel_;
    std::string Remarks_;
    Variant des_;
    Variant equ_;
    Variant pro_;
    Variant SBU_;
    Variant Other_;
    Variant code_;
    std::string NameHindi_;
    Variant Catagoryx_;
    Variant NAME_;
    Variant ADDRESS_;
    Variant city_;
    Variant RESIDENTIAL_PHONE_;
    Variant MOBILE_No_;
    Variant SERVICE_No;
    Variant EMAIL_ID_;
    std::string REMARK_;
    Variant SN_;
    std::int16_t DateSN = 0;
    Variant FileNo;
    Variant Date_;
    Variant Place;
    Variant Subject;
    Variant remark;
    Variant In_Out;
    std::string Other;
    Variant REM_TYPE_;
    Variant Designation_;
    Variant EQUIPMENT_;
    std::string PROJECT_;

    // ---- Connection (VekClass.cpp) -----------------------------------------------------------
    /// Loads the default settings: data source "det", user "Admin", the default password.
    /// Untrapped.
    Variant assign();
    /// Reloads the defaults and (re)opens `Con`. Jump-to-check: when the data source cannot be
    /// opened it shows "Please select Database : remember.mdb and restart Application" (caption
    /// "Select database") and returns normally, leaving `Con` closed so the caller's next
    /// statement fails under the caller's own trap. Always returns false.
    bool connectx();

    // ---- Statements and single-value lookups (GenericOperations.cpp) -------------------------
    /// Jump-to-check. True when the statement ran; false on any failure, silently.
    bool Executex(const std::string& Query);
    /// Continue-on-error. First column of the first row as text; "" for no row, Null, failure.
    std::string FindOneValue(const std::string& Query);
    /// Continue-on-error. First column of the first row as a number; 0 for anything else.
    double FindOneValueDouble(const std::string& Query);
    /// Untrapped. Sets the Text of the seven controls from the first seven columns.
    Variant FindSevenValue(const std::string& Query, const Object& NAME_,
                           const Object& Designation_, const Object& Unit_, const Object& Section_,
                           const Object& Mobile_, const Object& System_, const Object& ADDRESS_);
    /// Untrapped, outside the frame: binds the query grid to the result on a connection of its
    /// own, first two columns 4000 twips wide.
    Variant ShowInGridAsPerQuery(const std::string& Strx);
    /// \brief The grid that ShowInGridAsPerQuery fills. The calling window hands its grid to the
    /// instance once, before it asks for queries; without one the operation raises error 91.
    void setQueryGrid(std::shared_ptr<GridControl> DGG) { m_queryGrid = std::move(DGG); }

    // ---- Lists (Lists.cpp) -------------------------------------------------------------------
    /// Continue-on-error. Distinct values of a column, in the given order.
    Variant Fill(const std::string& ColumName, const std::string& TableName,
                 const std::string& OrderBy, const std::string& AscDesc,
                 const std::shared_ptr<ListControl>& cmb);
    /// Continue-on-error. Distinct values of a column that contain searchquery.
    Variant FillAsQuery(const std::string& ColumName, const std::string& TableName,
                        const std::string& OrderBy, const std::string& AscDesc,
                        const std::shared_ptr<ListControl>& cmb, const std::string& searchquery);
    /// Continue-on-error. The first column of every row of the caller's query.
    Variant FillAsQueryTwo(const std::shared_ptr<ListControl>& cmb, const std::string& searchquery);

    // ---- Calendar (Calendar.cpp) -------------------------------------------------------------
    /// Days in the month: 31, 30, 28 or 29; 30 for any month outside 1..12.
    long GetLastDayOfMonth(long lYear, long lMonth);
    /// "Jan".."Dec" of the date's month.
    std::string GetMonth(const Date& dat_);

    // ---- Schema upgrades (SchemaUpgrades.cpp) ------------------------------------------------
    /// Continue-on-error: widens HolidayTable.REMARK, adds Code and NameHindi to EmpDetail.
    Variant altertableEmpDetail();
    /// Continue-on-error: adds REM1/REM2 to four accounting tables, creates five more.
    Variant altertabletransactiontable();

    // ---- Purge (Purge.cpp) -------------------------------------------------------------------
    /// Untrapped: empties the 35 listed tables in order, then shows "Deleted" titled "Info".
    Variant deleteAll();

    // ---- Employees and appointments (records/EmployeeRecords.cpp) ----------------------------
    /// Continue-on-error: walks the cable rows whose column holds the value. The cable members
    /// describe the last row, Remarks_ joins every row's remark, Statusx_ takes its status.
    Variant FindDetails(const std::string& ColumName, const std::string& ColumValue,
                        const std::string& TableName);
    /// Continue-on-error: the cable members into seven controls' Text. Always false.
    bool AssignToObject(const Object& one, const Object& two, const Object& three,
                        const Object& four, const Object& five, const Object& six,
                        const Object& seven);
    /// Continue-on-error: the appointment of the serial into the record buffer.
    Variant Findapp(const std::string& ColumValue);
    /// Continue-on-error: the serial of the first employee with the name; 0 when there is none.
    std::int16_t FindSlofEmmpDetail(const std::string& ColumValue);
    /// Jump-to-check: rewrites employee SNX and says "UPDATED". A DOB that is no date is emptied
    /// (no date stored, day, month and year 0).
    Variant UpdateEmpDetail(const std::string& SNX, const std::string& Catagoryx,
                            const std::string& NAME_, const std::string& ADDRESS_,
                            const std::string& CITY, const std::string& RESIDENTIAL_PHONE,
                            const std::string& MOBILE_No, std::string& DOB,
                            const std::string& SERVICE_No, const std::string& REM_TYPE,
                            const std::string& EMAIL_ID, const std::string& remark,
                            const std::string& cmbdesig, const std::string& CMBEquip,
                            const std::string& CmbPro, const std::string& CMBSBU,
                            const std::string& txtOther, std::int16_t code,
                            const std::string& hindiname, const std::string& TableName);
    /// Jump-to-check: rewrites appointment SNX and says "UPDATED". A DOB that is no date becomes
    /// today's date.
    Variant UpdateApp(const std::string& SNX, const std::string& Catagoryx,
                      const std::string& NAME_, const std::string& ADDRESS_,
                      const std::string& CITY, const std::string& RESIDENTIAL_PHONE,
                      const std::string& MOBILE_No, std::string& DOB, const std::string& SERVICE_No,
                      const std::string& REM_TYPE, const std::string& EMAIL_ID,
                      const std::string& remark, const std::string& TableName);
    /// Untrapped: deletes the appointment and says "Deleted", with or without a row.
    Variant deleteApp(std::int16_t sn);
    /// Untrapped: deletes the employed person and says "Deleted", with or without a row.
    Variant deleteEmployed(std::int16_t sn);

    // ---- Personnel and manpower (records/PersonnelRecords.cpp) -------------------------------
    /// Continue-on-error: the employee of the serial into the record buffer, which is cleared
    /// first (SN_ excepted).
    Variant FindPersonnelDetails(const std::string& ColumValue);
    /// Continue-on-error: the employee buffer into eighteen controls ("-" for no designation).
    /// Always false.
    bool AssignToObjectPersonnel(const Object& one, const Object& two, const Object& three,
                                 const Object& four, const Object& five, const Object& six,
                                 const Object& seven, const Object& eight, const Object& nine,
                                 const Object& ten, const Object& eleven, const Object& des,
                                 const Object& equ, const Object& pro, const Object& SBU,
                                 const Object& Other, const Object& codex, const Object& hindi);
    /// Continue-on-error: the first eleven of those. Always false.
    bool AssignToObjectPersonnelOLD(const Object& one, const Object& two, const Object& three,
                                    const Object& four, const Object& five, const Object& six,
                                    const Object& seven, const Object& eight, const Object& nine,
                                    const Object& ten, const Object& eleven);
    /// Jump-to-check: trims fifteen texts and inserts the employee under the next serial (left in
    /// SN_) in one transaction; false on any failure. Leaves Con open.
    bool SavePersonnel(std::string& Catagoryx, std::string& NAME_, std::string& ADDRESS_,
                       std::string& CITY, std::string& RESIDENTIAL_PHONE, std::string& MOBILE_No,
                       std::string& DOB, std::string& SERVICE_No, std::string& REM_TYPE,
                       std::string& EMAIL_ID, std::string& remark, std::string& Designation,
                       std::string& EQUIPMENT, std::string& PROJECT, std::string& SBU,
                       std::string& Other, std::int16_t code, const std::string& hindiname,
                       const std::string& TableName);
    /// Untrapped: the fifteen-column insert under the next serial; trims five texts and puts
    /// today's date into a DOB that is no date.
    bool SavePersonnelOLD(std::string& Catagoryx, std::string& NAME_, std::string& ADDRESS_,
                          std::string& CITY, const std::string& RESIDENTIAL_PHONE,
                          const std::string& MOBILE_No, std::string& DOB,
                          const std::string& SERVICE_No, const std::string& REM_TYPE,
                          const std::string& EMAIL_ID, std::string& remark,
                          const std::string& TableName);
    /// Jump-to-check: UpdateApp's update without the e-mail address.
    Variant UpdateInTime(const std::string& SNX, const std::string& Catagoryx,
                         const std::string& NAME_, const std::string& ADDRESS_,
                         const std::string& CITY, const std::string& RESIDENTIAL_PHONE,
                         const std::string& MOBILE_No, std::string& DOB,
                         const std::string& SERVICE_No, const std::string& REM_TYPE,
                         const std::string& EMAIL_ID, const std::string& remark,
                         const std::string& TableName);
    /// Jump-to-check: the arrival time into MOBILE_No, REM_TYPE IN; false on any failure.
    bool UpdatePersonnel(std::int16_t sn, const std::string& InTime, const std::string& TableName);
    /// Untrapped: deletes the employee and says "Deleted", with or without a row.
    Variant deletepersonnel(std::int16_t sn);
    /// Marks day day_ (1..31) of the person's month in the manpower register, adding the person's
    /// row for that month when missing. Untrapped; false for a day or month out of range.
    bool saveManpower(std::int16_t day_, std::int16_t Month_, const std::string& Year_,
                      const std::string& NAME_, const std::string& Designation_,
                      const std::string& STAFF_No, const std::string& EQUIPMENT,
                      const std::string& PROJECT, const std::string& TableName);
    /// Leaves in SN_ the number of days marked for the person, month and year and returns true.
    /// Jump-to-check; false for a month outside 1..12 or a failing statement.
    bool UpdateManPower(const std::string& NAME_, std::int16_t Month_, std::int16_t Year_);

    // ---- Visitors (records/VisitorRecords.cpp) -----------------------------------------------
    /// Jump-to-check; true when the row was inserted under the next serial (left in SN_). A date
    /// that does not read as a date (an empty one included) fails the save: nothing is written.
    bool SaveVisitor(const std::string& Catagoryx, const std::string& SubCategory_,
                     const std::string& NAME_, const std::string& StaffNo,
                     const std::string& Designation, const std::string& Unit,
                     const std::string& PurposeOfVisit, const std::string& ADDRESS_,
                     const std::string& DateOfVisit, const std::string& ValidFrom,
                     const std::string& ValidTo, const std::string& ContactDetail,
                     const std::string& MobileNo, const std::string& remark,
                     const std::string& workarea, const std::string& Systemx,
                     const std::string& WorkOrderNo, const std::string& WorkOrderDate,
                     const std::string& WorkOrderValidity, const std::string& TableName);
    /// Jump-to-check; true when the update ran. Also writes MobileNo and REMARK, so an update
    /// keeps what the user typed; the work-order columns keep their saved values.
    bool UpdateVisit(std::int16_t sn, const std::string& Systemx, const std::string& Work_Areax,
                     const std::string& Catagoryx, const std::string& SubCategory_,
                     const std::string& NAME_, const std::string& StaffNo,
                     const std::string& Designation, const std::string& Unit,
                     const std::string& PurposeOfVisit, const std::string& ADDRESS_,
                     const std::string& DateOfVisit, const std::string& ValidFrom,
                     const std::string& ValidTo, const std::string& ContactDetail,
                     const std::string& MobileNo, const std::string& remark,
                     const std::string& TableName);
    /// Continue-on-error: shows the visit of serial SNX in the nineteen controls.
    Variant FindVisitDetails(std::int16_t SNX, const Object& Catagoryx, const Object& SubCategory_,
                             const Object& NAME_, const Object& StaffNo, const Object& Designation,
                             const Object& Unit, const Object& PurposeOfVisit,
                             const Object& ADDRESS_, const Object& DateOfVisit,
                             const Object& ValidFrom, const Object& ValidTo,
                             const Object& ContactDetail, const Object& MobileNo,
                             const Object& remark, const Object& Work_Area, const Object& System,
                             const Object& WorkOrderNo, const Object& WorkOrderDate,
                             const Object& WorkOrderValidity);
    /// Continue-on-error: shows the newest visit of the staff number; SN_ takes its serial (Null
    /// when the staff number has no visit, and then every control keeps its content).
    Variant FindVisitDetailsAsPerStaffNo(
        const std::string& StaffNo_, const Object& Catagoryx, const Object& SubCategory_,
        const Object& NAME_, const Object& StaffNo, const Object& Designation, const Object& Unit,
        const Object& PurposeOfVisit, const Object& ADDRESS_, const Object& DateOfVisit,
        const Object& ValidFrom, const Object& ValidTo, const Object& ContactDetail,
        const Object& MobileNo, const Object& remark, const Object& Work_Area, const Object& System,
        const Object& WorkOrderNo, const Object& WorkOrderDate, const Object& WorkOrderValidity);
    /// Continue-on-error: shows a visit of the staff number in the StaffNo control, all by Text.
    Variant FindVisitAsPerStaffNo(std::int16_t SNX, const Object& Catagoryx,
                                  const Object& SubCategory_, const Object& NAME_,
                                  const Object& StaffNo, const Object& Designation,
                                  const Object& Unit, const Object& PurposeOfVisit,
                                  const Object& ADDRESS_, const Object& DateOfVisit,
                                  const Object& ValidFrom, const Object& ValidTo,
                                  const Object& ContactDetail, const Object& MobileNo,
                                  const Object& remark);

    // ---- Items, cables and statuses (records/CableRecords.cpp) -------------------------------
    /// Untrapped: inserts under the next serial (left in SN_) in one transaction; says "Saved".
    Variant SaveCable(const std::string& CableNum, const std::string& ConnDesc,
                      const std::string& ConnPartNo, const std::string& BackShell,
                      const std::string& Boot, const std::string& StripSteel,
                      const std::string& remark, const std::string& TableName);
    /// Untrapped: as SaveCable, for an item with its part number and remark.
    Variant SaveItem(const std::string& Item, const std::string& PartNo, const std::string& remark,
                     const std::string& TableName);
    /// Untrapped: as SaveCable, for an item's status by serial number.
    Variant SaveItemStatus(const std::string& Item, const std::string& PartNo,
                           const std::string& SERIALNO, const std::string& STATUS,
                           const std::string& TableName);
    /// Untrapped: deletes the cable and says "Deleted", with or without a row.
    Variant deleteCable(std::int16_t sn);
    /// Untrapped: deletes the item and says "Deleted", with or without a row.
    Variant deleteItem(std::int16_t sn);
    /// Untrapped: replaces the value's rows by one new CableStatus row in one transaction, then
    /// says "Status Updated"; a failure leaves the old status.
    Variant UpdateStatus(const std::string& ColumName, const std::string& ColumValue,
                         const std::string& TableName, const std::string& Statusx);

    // ---- Documents (records/DocumentRecords.cpp) ---------------------------------------------
    /// Continue-on-error. A topic or file name that is empty, "." or "..", or holds a path
    /// separator is refused (nothing deleted); '*' and '?' are taken literally, never as patterns.
    Variant deleteDoc(const std::string& DOCNUMBER_, const std::string& TOPIC_,
                      const std::string& Lsttext);
    /// Continue-on-error; refuses group and file names as deleteDoc does.
    Variant deleteDocFile(const std::string& File_, const std::string& Group_);

    // ---- Mail and medical registers (records/MailMedicalRecords.cpp) -------------------------
    /// Continue-on-error: copies the record of serial sn into FileNo, Date_ ... Other.
    Variant FindMailDetails(const std::string& TableName, std::int16_t sn);
    /// Continue-on-error. Each control shows the column of its own name (FileNoC the FileNo
    /// column, SNC the SN column, ...); the two date controls take Value, the others Text.
    Variant FindNedicalDetails(const std::string& TableName, std::int16_t sn, const Object& FileNoC,
                               const Object& DATE_ForwardC, const Object& SNC, const Object& Name_C,
                               const Object& StaffNoC, const Object& Amount_ClaimedC,
                               const Object& Date_ReturnC, const Object& Amount_PassedC,
                               const Object& RemarkC);
    /// Jump-to-check; true when saved under the next serial (left in SN_), after "Saved".
    bool SaveMailRecord(const std::string& FileNo, const std::string& Date_,
                        const std::string& Place, const std::string& Subject,
                        const std::string& remark, const std::string& In_Out,
                        const std::string& Other, const std::string& TableName);
    /// Jump-to-check; true when saved. SN_ counts within the forwarding date, DateSN within the
    /// file number; SNC is not used.
    bool SaveMedicalRecord(const std::string& FileNoC, const std::string& DATE_ForwardC,
                           const std::string& SNC, const std::string& Name_C,
                           const std::string& StaffNoC, const std::string& Amount_ClaimedC,
                           const std::string& Date_ReturnC, double Amount_PassedC,
                           const std::string& RemarkC, const std::string& TableName);

protected:
    // ---- Shared steps of the frame (VekClass.cpp) --------------------------------------------
    /// Sets `str` and runs it through `Rs`: close Rs if open, Open with Con, keyset, read-only.
    void runStr(const std::string& sql);
    /// Runs sql through the given recordset on `Con` (close first if open).
    void runOn(Recordset& recordset, const std::string& sql);
    /// Closes `Con` when it is open.
    void closeCon();
    /// Shows an information message (icon and OK only) and keeps its result in `a`.
    void inform(const std::string& prompt, const std::string& title);
    /// \brief The next serial of a table: the largest SN plus 1 in its own number type, or 1 in
    /// an empty table, read with "select max(SN) from " + table and left in `SN_`. Call it inside
    /// the write transaction that also inserts the row, so no other writer can take the same
    /// serial.
    Variant nextSerial(const std::string& TableName);

private:
    bool IsLeapYear(long year);

    // ---- Steps the record operations share (records/RecordSteps.cpp) -------------------------
    /// connectx (SN_ = 1), then the write transaction and the table's next serial, each a step.
    void openNumberedWrite(OperationFrame& frame, std::optional<WriteTransaction>& unit,
                           Variant& serial, const std::string& TableName);
    /// openNumberedWrite, the insert of the serial and values, commit, "Saved" and closeCon.
    void saveNumbered(OperationFrame& frame, const std::string& TableName,
                      const std::string& values);
    /// \brief One unit: the table's next serial (left in SN_) and the insert of it followed by
    /// values(), so no other writer takes the same serial and a failing insert writes nothing.
    void insertUnderNextSerial(const std::string& TableName,
                               const std::function<std::string()>& values);
    /// connectx, statementHead + sn, "Deleted" and closeCon.
    void deleteBySerial(OperationFrame& frame, const std::string& statementHead, std::int16_t sn);
    /// connectx, "UPDATE " + table + " SET" + assignments + " WHERE SN = " + SNX, "UPDATED" and
    /// closeCon.
    void rewritePerson(OperationFrame& frame, const std::string& TableName,
                       const std::string& assignments, const std::string& SNX);

    std::shared_ptr<GridControl> m_queryGrid;
};

}  // namespace quillet
