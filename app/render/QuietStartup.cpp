#include "render/QuietStartup.h"

#include <QString>
#include <QtGlobal>

namespace quillet {

namespace {

QtMessageHandler previousHandler = nullptr;
bool installed = false;

bool isRuntimeFolderNotice(const QString& message) {
    return message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

void filterMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && isRuntimeFolderNotice(message)) {
        return;
    }
    if (previousHandler != nullptr) {
        previousHandler(type, context, message);
    } else {
        // Qt's own default handler: restored for this one message, then ours again.
        qInstallMessageHandler(nullptr);
        qt_message_output(type, context, message);
        qInstallMessageHandler(filterMessage);
    }
}

}  // namespace

void quietenStartupNotices() {
    if (installed) {
        return;
    }
    installed = true;
    previousHandler = qInstallMessageHandler(filterMessage);
}

}  // namespace quillet
