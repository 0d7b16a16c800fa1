#pragma once
// How assistive technology sees the main window: as a window (a frame on the desktop's
// accessibility bus) with a name, not as an anonymous pane; and its combo box by its label.

class QComboBox;
class QWidget;

namespace quillet {

/// \brief Makes window report the window role to assistive technology, with name as its name
/// and description as its description.
void presentAsApplicationWindow(QWidget& window, const char* name, const char* description);

/// \brief Makes box report its accessible name as its name, and its current text as its value.
/// On Linux a combo box otherwise says its value ("0") where a screen reader asks for its name.
void nameComboBoxByItsLabel(QComboBox& box);

}  // namespace quillet
