#pragma once
/// \file
/// \brief Message boxes as the record-store class asks for them. The class never draws anything:
/// the program installs a service (app/ shows QMessageBox) and tests install a recorder.

#include <memory>
#include <string>

#include "quillet_store_export.h"

namespace quillet {

/// Buttons-and-icon values, by their classic numbers.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbInformation = 64;
/// The button a box returns when OK is pressed.
inline constexpr int vbOK = 1;

/// The application's title: the caption of boxes shown without a title.
inline constexpr const char* kApplicationTitle = "Quillet";

/// \brief Shows one modal message and returns the button pressed.
class QUILLET_STORE_EXPORT MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual int show(const std::string& prompt, int buttons, const std::string& title) = 0;
};

/// \brief Shows a message through the installed service. Without a title the application's title
/// is used. Without an installed service the message goes to standard error and OK is returned.
QUILLET_STORE_EXPORT int MsgBox(const std::string& prompt, int buttons = vbOKOnly,
                                const std::string& title = {});

/// Installs the process's service (nullptr restores the standard-error fallback). Returns the
/// one it replaces.
QUILLET_STORE_EXPORT std::shared_ptr<MessageBoxService> installMessageBoxService(
    std::shared_ptr<MessageBoxService> service);

}  // namespace quillet
