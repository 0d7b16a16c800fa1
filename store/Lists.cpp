// Filling a calling window's combo boxes from the record store.
#include "OperationFrame.h"
#include "StatementPieces.h"
#include "VekClass.h"

namespace quillet {

namespace {

// Adds the field of every row to the list. A value that cannot become text (a Null) is skipped
// by the trap and the walk goes on.
template <class Field>
void addEveryRow(OperationFrame& frame, Recordset& rs, ListControl& cmb, Field field) {
    while (!rs.Eof()) {
        frame.step([&] { cmb.AddItem(field(rs).toString()); });
        frame.step([&] { rs.MoveNext(); });
    }
}

void selectFirstIfAny(ListControl& cmb) {
    if (cmb.ListCount() > 0) {
        cmb.setListIndex(0);
    }
}

}  // namespace

Variant VekClass::Fill(const std::string& ColumName, const std::string& TableName,
                       const std::string& OrderBy, const std::string& AscDesc,
                       const std::shared_ptr<ListControl>& cmb) {
    // Before the trap: without a list to fill, the caller learns it at once.
    if (!cmb) {
        throw objectNotSet();
    }
    cmb->Clear();
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { a = connectx(); });
    frame.step([&] {
        runOn(*Rs, "Select distinct(" + identifier(ColumName) + ") from " + identifier(TableName) +
                       " order by " + identifier(OrderBy) + " " + orderWord(AscDesc));
    });
    if (Rs->State() != kStateClosed) {
        addEveryRow(frame, *Rs, *cmb, [&](Recordset& rs) { return rs.Fields(ColumName); });
        frame.step([&] { closeCon(); });
        frame.step([&] { cmb->setListIndex(0); });
    }
    return {};
}

Variant VekClass::FillAsQuery(const std::string& ColumName, const std::string& TableName,
                              const std::string& OrderBy, const std::string& AscDesc,
                              const std::shared_ptr<ListControl>& cmb,
                              const std::string& searchquery) {
    if (!cmb) {
        throw objectNotSet();
    }
    cmb->Clear();
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { a = connectx(); });
    frame.step([&] {
        const std::string& column = identifier(ColumName);
        runOn(*Rs, "Select distinct(" + column + ") from " + identifier(TableName) + " where " +
                       column + " Like '%" + escaped(searchquery) + "%'" + " order by " +
                       identifier(OrderBy) + " " + orderWord(AscDesc));
    });
    if (Rs->State() != kStateClosed) {
        addEveryRow(frame, *Rs, *cmb, [&](Recordset& rs) { return rs.Fields(ColumName); });
    }
    frame.step([&] { closeCon(); });
    frame.step([&] { selectFirstIfAny(*cmb); });
    return {};
}

Variant VekClass::FillAsQueryTwo(const std::shared_ptr<ListControl>& cmb,
                                 const std::string& searchquery) {
    if (!cmb) {
        throw objectNotSet();
    }
    cmb->Clear();
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    frame.step([&] { runOn(*Rs, searchquery); });
    if (Rs->State() != kStateClosed) {
        addEveryRow(frame, *Rs, *cmb, [](Recordset& rs) { return rs.Fields(0); });
        frame.step([&] { closeCon(); });
        frame.step([&] { selectFirstIfAny(*cmb); });
    }
    return {};
}

}  // namespace quillet
