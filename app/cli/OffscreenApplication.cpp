#include "cli/OffscreenApplication.h"

#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#include "render/QuietStartup.h"

namespace quillet {

void ensureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((display == nullptr || *display == '\0') && (wayland == nullptr || *wayland == '\0')) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    quietenStartupNotices();
    // Qt keeps references to argc and argv for the application's lifetime.
    static int argc = 1;
    static char name[] = "quillet-schedule";
    static char* argv[] = {name, nullptr};
    static const auto application = std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace quillet
