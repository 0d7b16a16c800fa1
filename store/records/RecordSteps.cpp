// Steps that several record families run alike: the free ones declared in RecordSteps.h, and the
// VekClass helpers behind the numbered saves, the deletes by serial and the person rewrites.
// Each helper runs its steps in the caller's frame, so the caller's trap decides what a failing
// step does.
#include "records/RecordSteps.h"

#include <optional>

#include "OperationFrame.h"
#include "StatementPieces.h"
#include "VekClass.h"
#include "WriteTransaction.h"
#include "records/RecordValues.h"
#include "ui/MessageBox.h"

namespace quillet {

void closeIfOpen(Recordset& recordset) {
    if (recordset.State() == kStateOpen) {
        recordset.Close();
    }
}

std::string insertStatement(const std::string& TableName, const Variant& serial,
                            const std::string& values) {
    return "insert into " + identifier(TableName) + " values(" + bareValue(serial) + "," + values +
           ")";
}

void showRecordedError(const OperationFrame& frame) {
    if (frame.failed()) {
        MsgBox(frame.err().Description, vbOKOnly);
    }
}

void VekClass::openNumberedWrite(OperationFrame& frame, std::optional<WriteTransaction>& unit,
                                 Variant& serial, const std::string& TableName) {
    frame.step([&] {
        connectx();
        SN_ = 1;
    });
    frame.step([&] { unit.emplace(*Con); });
    frame.step([&] { serial = nextSerial(TableName); });
}

void VekClass::saveNumbered(OperationFrame& frame, const std::string& TableName,
                            const std::string& values) {
    std::optional<WriteTransaction> unit;
    Variant serial;
    openNumberedWrite(frame, unit, serial, TableName);
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr(insertStatement(TableName, serial, values));
    });
    frame.step([&] { unit->commit(); });
    frame.step([&] { inform("Saved", "Info"); });
    frame.step([&] { closeCon(); });
}

void VekClass::insertUnderNextSerial(const std::string& TableName,
                                     const std::function<std::string()>& values) {
    WriteTransaction transaction(*Con);
    const Variant serial = nextSerial(TableName);
    runStr(insertStatement(TableName, serial, values()));
    transaction.commit();
}

void VekClass::deleteBySerial(OperationFrame& frame, const std::string& statementHead,
                              std::int16_t sn) {
    frame.step([&] { connectx(); });
    frame.step([&] { runStr(statementHead + std::to_string(sn)); });
    frame.step([&] { inform("Deleted", "Info"); });
    frame.step([&] { closeCon(); });
}

void VekClass::rewritePerson(OperationFrame& frame, const std::string& TableName,
                             const std::string& assignments, const std::string& SNX) {
    frame.step([&] { connectx(); });
    frame.step([&] {
        closeIfOpen(*Rs);
        runStr("UPDATE " + identifier(TableName) + " SET" + assignments +
               " WHERE SN = " + bareNumber(SNX));
    });
    frame.step([&] { inform("UPDATED", "INFORMATION"); });
    frame.step([&] { closeCon(); });
}

}  // namespace quillet
