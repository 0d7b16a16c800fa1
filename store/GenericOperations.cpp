// Running whole statements handed in by callers, and reading single values from them.
#include "OperationFrame.h"
#include "VekClass.h"

namespace quillet {

bool VekClass::Executex(const std::string& Query) {
    bool result = false;
    OperationFrame frame(Trap::JumpToCheck);
    frame.step([&] { connectx(); });
    frame.step([&] {
        runOn(*Rs, Query);
        result = true;
    });
    frame.step([&] { closeCon(); });
    if (frame.failed()) {
        result = false;
    }
    return result;
}

std::string VekClass::FindOneValue(const std::string& Query) {
    std::string result;
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    frame.step([&] { runOn(*Rs, Query); });
    frame.step([&] { result = Rs->Fields(0).toString(); });
    frame.step([&] { closeCon(); });
    if (frame.failed()) {
        result.clear();
    }
    return result;
}

double VekClass::FindOneValueDouble(const std::string& Query) {
    double result = 0;
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    frame.step([&] { runOn(*Rs, Query); });
    frame.step([&] { result = Rs->Fields(0).toDouble(); });
    frame.step([&] { closeCon(); });
    if (frame.failed()) {
        result = 0;
    }
    return result;
}

// The controls are named for the members they mirror (NAME_, Designation_, ADDRESS_ ...); the
// definition names them as controls, so they cannot be mistaken for those members.
Variant VekClass::FindSevenValue(const std::string& Query, const Object& nameBox,
                                 const Object& designationBox, const Object& Unit_,
                                 const Object& Section_, const Object& Mobile_,
                                 const Object& System_, const Object& addressBox) {
    OperationFrame frame(Trap::Untrapped);
    frame.step([&] { connectx(); });
    frame.step([&] { runOn(*Rs, Query); });
    const Object* const controls[] = {&nameBox, &designationBox, &Unit_,     &Section_,
                                      &Mobile_, &System_,        &addressBox};
    for (int i = 0; i < 7; ++i) {
        frame.step([&] { setText(*controls[i], Rs->Fields(i)); });
    }
    frame.step([&] { closeCon(); });
    return {};
}

Variant VekClass::ShowInGridAsPerQuery(const std::string& Strx) {
    // Untrapped and outside the frame: its own connection and recordset, which the grid keeps
    // alive until it is bound to something else.
    if (!m_queryGrid) {
        throw objectNotSet();
    }
    GridControl& DGG = *m_queryGrid;
    DGG.setDataSource(nullptr);
    auto connection = std::make_shared<Connection>();
    connection->Open(defaultConnectionString(), "", "", -1);
    auto recordset = std::make_shared<Recordset>();
    recordset->setCursorLocation(kUseClient);
    recordset->Open(Strx, connection, kOpenUnspecified, kLockReadOnly, kCmdUnspecified);
    DGG.setDataSource(recordset);
    DGG.setColumnWidth(0, 4000);
    DGG.setColumnWidth(1, 4000);
    return {};
}

}  // namespace quillet
