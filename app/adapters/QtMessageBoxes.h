#pragma once
// Message boxes drawn with Qt, for the program's message service.

#include "quillet_qt_export.h"
#include "ui/MessageBox.h"

namespace quillet {

/// \brief Shows each message as a modal QMessageBox over the active window. The buttons-and-icon
/// value is read the classic way: the low digit picks the button set (OK; OK, Cancel; Abort,
/// Retry, Ignore; Yes, No, Cancel; Yes, No; Retry, Cancel), 16/32/48/64 pick the icon (critical,
/// question, warning, information), 256/512 make the second/third button the default. The
/// result is the classic number of the button pressed (OK 1, Cancel 2, Abort 3, Retry 4,
/// Ignore 5, Yes 6, No 7).
class QUILLET_QT_EXPORT QtMessageBoxes : public MessageBoxService {
public:
    int show(const std::string& prompt, int buttons, const std::string& title) override;
};

}  // namespace quillet
