// Deleting a document completely: its file in the folders beside the program, then its row.
// NOTE: quoted is written quillet::quoted here: <filesystem> brings std::quoted in through
// argument-dependent lookup, and it would win for a std::string argument.
#include <filesystem>
#include <string>

#include "OperationFrame.h"
#include "StatementPieces.h"
#include "VekClass.h"
#include "records/DocumentFiles.h"
#include "records/RecordSteps.h"

namespace quillet {

namespace {

// The steps both deletions share, under continue-on-error. A name that would leave its folder
// is refused as an error of the operation: neither the file nor the row is deleted. A missing
// or undeletable file is recorded and the row is still deleted.
template <class PathOf, class DeleteRow, class Inform>
void deleteFileAndRow(OperationFrame& frame, PathOf pathOf, DeleteRow deleteRow, Inform inform) {
    std::filesystem::path file;
    bool namesPlain = false;
    frame.step([&] {
        file = pathOf();
        namesPlain = true;
    });
    if (!namesPlain) {
        return;
    }
    frame.step([&] { killFile(file); });
    bool rowDeleteRan = false;
    frame.step([&] {
        deleteRow();
        rowDeleteRan = true;
    });
    if (rowDeleteRan) {
        frame.step(inform);
    }
}

}  // namespace

Variant VekClass::deleteDoc(const std::string& DOCNUMBER_, const std::string& TOPIC_,
                            const std::string& Lsttext) {
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    deleteFileAndRow(
        frame, [&] { return documentPath(TOPIC_, Lsttext); },
        [&] { runStr("Delete * from Document where DOCNUMBER = " + quillet::quoted(DOCNUMBER_)); },
        [&] { inform("Deleted", "Info"); });
    frame.step([&] { closeCon(); });
    showRecordedError(frame);
    return {};
}

Variant VekClass::deleteDocFile(const std::string& File_, const std::string& Group_) {
    OperationFrame frame(Trap::ContinueOnError);
    frame.step([&] { connectx(); });
    deleteFileAndRow(
        frame, [&] { return reportFilePath(Group_, File_); },
        [&] { runStr("Delete * from DocumentFile where DOCNUMBER = " + quillet::quoted(File_)); },
        [&] { inform("Deleted", "Info"); });
    frame.step([&] { closeCon(); });
    showRecordedError(frame);
    return {};
}

}  // namespace quillet
