// Item, cable and status records: the three inserts under the next free serial, the two deletes
// by serial, and the replacement of a cable's status.
//
// Each insert takes its serial and inserts its row inside one write transaction, so two writers
// on one store never give two rows the same serial (VekClass::saveNumbered). The status
// replacement deletes the old row and inserts the new one in one transaction, and says "Status
// Updated" only once both took effect: a failing insert leaves the old status in place.
#include <optional>

#include "OperationFrame.h"
#include "StatementPieces.h"
#include "VekClass.h"
#include "WriteTransaction.h"
#include "records/RecordSteps.h"
#include "runtime/Date.h"

namespace quillet {

Variant VekClass::SaveCable(const std::string& CableNum, const std::string& ConnDesc,
                            const std::string& ConnPartNo, const std::string& BackShell,
                            const std::string& Boot, const std::string& StripSteel,
                            const std::string& remarkText, const std::string& TableName) {
    OperationFrame frame(Trap::Untrapped);
    saveNumbered(frame, TableName,
                 quoted(CableNum) + "," + quoted(ConnDesc) + "," + quoted(ConnPartNo) + "," +
                     quoted(BackShell) + "," + quoted(Boot) + "," + quoted(StripSteel) + "," +
                     quoted(remarkText));
    return {};
}

Variant VekClass::SaveItem(const std::string& Item, const std::string& PartNo,
                           const std::string& remarkText, const std::string& TableName) {
    OperationFrame frame(Trap::Untrapped);
    saveNumbered(frame, TableName, quoted(Item) + "," + quoted(PartNo) + "," + quoted(remarkText));
    return {};
}

Variant VekClass::SaveItemStatus(const std::string& Item, const std::string& PartNo,
                                 const std::string& SERIALNO, const std::string& STATUS,
                                 const std::string& TableName) {
    OperationFrame frame(Trap::Untrapped);
    saveNumbered(
        frame, TableName,
        quoted(Item) + "," + quoted(PartNo) + "," + quoted(SERIALNO) + "," + quoted(STATUS));
    return {};
}

Variant VekClass::deleteCable(std::int16_t sn) {
    OperationFrame frame(Trap::Untrapped);
    deleteBySerial(frame, "Delete * from cable where SN = ", sn);
    return {};
}

Variant VekClass::deleteItem(std::int16_t sn) {
    OperationFrame frame(Trap::Untrapped);
    deleteBySerial(frame, "Delete * from PARTNUMBER where SN = ", sn);
    return {};
}

Variant VekClass::UpdateStatus(const std::string& ColumName, const std::string& ColumValue,
                               const std::string& TableName, const std::string& Statusx) {
    OperationFrame frame(Trap::Untrapped);
    std::optional<WriteTransaction> unit;
    Variant serial;
    // The serial is taken before the delete, so a removed row's serial is not given again.
    openNumberedWrite(frame, unit, serial, TableName);
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr("Delete * from " + identifier(TableName) + " where " + identifier(ColumName) +
               " = " + quoted(ColumValue));
    });
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr(insertStatement("CableStatus", serial,
                               quoted(ColumValue) + "," + "#" + formatDayMonthYear(today()) + "#" +
                                   "," + quoted(Statusx)));
    });
    frame.step([&] { unit->commit(); });
    frame.step([&] { inform("Status Updated", "Status"); });
    frame.step([&] { closeCon(); });
    return {};
}

}  // namespace quillet
