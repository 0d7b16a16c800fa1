// Filling a calling window's combo boxes from the record store.
#include "StatementPieces.h"
#include "VekClass.h"

namespace quillet {

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
        while (!Rs->Eof()) {
            // A Null cannot become text: the add is skipped and the walk goes on.
            frame.step([&] { cmb->AddItem(Rs->Fields(ColumName).toString()); });
            frame.step([&] { Rs->MoveNext(); });
        }
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
        while (!Rs->Eof()) {
            frame.step([&] { cmb->AddItem(Rs->Fields(ColumName).toString()); });
            frame.step([&] { Rs->MoveNext(); });
        }
    }
    frame.step([&] { closeCon(); });
    frame.step([&] {
        if (cmb->ListCount() > 0) {
            cmb->setListIndex(0);
        }
    });
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
        while (!Rs->Eof()) {
            frame.step([&] { cmb->AddItem(Rs->Fields(0).toString()); });
            frame.step([&] { Rs->MoveNext(); });
        }
        frame.step([&] { closeCon(); });
        frame.step([&] {
            if (cmb->ListCount() > 0) {
                cmb->setListIndex(0);
            }
        });
    }
    return {};
}

}  // namespace quillet
