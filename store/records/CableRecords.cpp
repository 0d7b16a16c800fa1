// Item, cable and status records: the three inserts under the next free serial, the two deletes
// by serial, and the replacement of a cable's status.
//
// Each insert takes its serial and inserts its row inside one write transaction, so two writers
// on one store never give two rows the same serial. The status replacement deletes the old row
// and inserts the new one in one transaction, and says "Status Updated" only once both took
// effect: a failing insert leaves the old status in place.
#include <optional>

#include "StatementPieces.h"
#include "VekClass.h"
#include "runtime/Date.h"

namespace quillet {

namespace {

void closeIfOpen(Recordset& recordset) {
    if (recordset.State() == kStateOpen) {
        recordset.Close();
    }
}

}  // namespace

Variant VekClass::SaveCable(const std::string& CableNum, const std::string& ConnDesc,
                            const std::string& ConnPartNo, const std::string& BackShell,
                            const std::string& Boot, const std::string& StripSteel,
                            const std::string& remarkText, const std::string& TableName) {
    OperationFrame frame(Trap::Untrapped);
    std::optional<WriteTransaction> unit;
    std::int32_t serial = 1;
    frame.step([&] {
        connectx();
        SN_ = 1;
    });
    frame.step([&] { unit.emplace(*Con); });
    frame.step([&] { serial = nextSerial(TableName); });
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr("insert into " + identifier(TableName) + " values(" + std::to_string(serial) + "," +
               quoted(CableNum) + "," + quoted(ConnDesc) + "," + quoted(ConnPartNo) + "," +
               quoted(BackShell) + "," + quoted(Boot) + "," + quoted(StripSteel) + "," +
               quoted(remarkText) + ")");
    });
    frame.step([&] { unit->commit(); });
    frame.step([&] { inform("Saved", "Info"); });
    frame.step([&] { closeCon(); });
    return {};
}

Variant VekClass::SaveItem(const std::string& Item, const std::string& PartNo,
                           const std::string& remarkText, const std::string& TableName) {
    OperationFrame frame(Trap::Untrapped);
    std::optional<WriteTransaction> unit;
    std::int32_t serial = 1;
    frame.step([&] {
        connectx();
        SN_ = 1;
    });
    frame.step([&] { unit.emplace(*Con); });
    frame.step([&] { serial = nextSerial(TableName); });
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr("insert into " + identifier(TableName) + " values(" + std::to_string(serial) + "," +
               quoted(Item) + "," + quoted(PartNo) + "," + quoted(remarkText) + ")");
    });
    frame.step([&] { unit->commit(); });
    frame.step([&] { inform("Saved", "Info"); });
    frame.step([&] { closeCon(); });
    return {};
}

Variant VekClass::SaveItemStatus(const std::string& Item, const std::string& PartNo,
                                 const std::string& SERIALNO, const std::string& STATUS,
                                 const std::string& TableName) {
    OperationFrame frame(Trap::Untrapped);
    std::optional<WriteTransaction> unit;
    std::int32_t serial = 1;
    frame.step([&] {
        connectx();
        SN_ = 1;
    });
    frame.step([&] { unit.emplace(*Con); });
    frame.step([&] { serial = nextSerial(TableName); });
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr("insert into " + identifier(TableName) + " values(" + std::to_string(serial) + "," +
               quoted(Item) + "," + quoted(PartNo) + "," + quoted(SERIALNO) + "," + quoted(STATUS) +
               ")");
    });
    frame.step([&] { unit->commit(); });
    frame.step([&] { inform("Saved", "Info"); });
    frame.step([&] { closeCon(); });
    return {};
}

Variant VekClass::deleteCable(std::int16_t sn) {
    OperationFrame frame(Trap::Untrapped);
    frame.step([&] { connectx(); });
    frame.step([&] { runStr("Delete * from cable where SN = " + std::to_string(sn)); });
    frame.step([&] { inform("Deleted", "Info"); });
    frame.step([&] { closeCon(); });
    return {};
}

Variant VekClass::deleteItem(std::int16_t sn) {
    OperationFrame frame(Trap::Untrapped);
    frame.step([&] { connectx(); });
    frame.step([&] { runStr("Delete * from PARTNUMBER where SN = " + std::to_string(sn)); });
    frame.step([&] { inform("Deleted", "Info"); });
    frame.step([&] { closeCon(); });
    return {};
}

Variant VekClass::UpdateStatus(const std::string& ColumName, const std::string& ColumValue,
                               const std::string& TableName, const std::string& Statusx) {
    OperationFrame frame(Trap::Untrapped);
    std::optional<WriteTransaction> unit;
    std::int32_t serial = 1;
    frame.step([&] {
        connectx();
        SN_ = 1;
    });
    frame.step([&] { unit.emplace(*Con); });
    // Taken before the delete, so a removed row's serial is not given again.
    frame.step([&] { serial = nextSerial(TableName); });
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr("Delete * from " + identifier(TableName) + " where " + identifier(ColumName) +
               " = " + quoted(ColumValue));
    });
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr("insert into CableStatus values(" + std::to_string(serial) + "," +
               quoted(ColumValue) + "," + "#" + formatDayMonthYear(today()) + "#" + "," +
               quoted(Statusx) + ")");
    });
    frame.step([&] { unit->commit(); });
    frame.step([&] { inform("Status Updated", "Status"); });
    frame.step([&] { closeCon(); });
    return {};
}

}  // namespace quillet
