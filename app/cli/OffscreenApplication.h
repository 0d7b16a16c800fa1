#pragma once
// The PDF writer needs a Qt GUI application; the tool makes one only when a PDF is asked for.

namespace quillet {

/// Creates a QGuiApplication for this process unless one exists. Without a display it uses the
/// offscreen platform, so the tool works on a headless machine.
void ensureGuiApplication();

}  // namespace quillet
