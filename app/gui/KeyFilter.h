#pragma once
// The window's keyboard filter: every character typed while the window is active passes here
// before the control with the focus sees it.

#include <QObject>
#include <QString>

class QKeyEvent;
class QWidget;

namespace quillet {

/// Code of the character that closes the window.
inline constexpr char32_t kEscapeCode = 27;
/// Code that the filter returns for a swallowed character.
inline constexpr char32_t kSwallowed = 0;

/// \brief What the filter makes of one typed character: the apostrophe is swallowed (0), codes
/// 97 to 127 move down by 32 (a-z become A-Z, "{|}~" and DEL become "[\]^_"), characters
/// beyond ASCII take their Unicode capital (scripts without case pass unchanged), everything
/// else, Esc included, passes as it is.
char32_t filterTypedCharacter(char32_t code);

/// The filter applied to each character of a typed text; swallowed characters are dropped.
QString filterTypedText(const QString& text);

/// \brief Filters the keys of one window. It watches the whole application so it also sees the
/// keys of the inner editors (the combo box's line edit, the date edit) before they do. Only
/// typed characters are mapped: keys whose text is a control character (Delete, Backspace, Tab,
/// Return) and keys without text (arrows, Home, End) reach the control untouched.
class KeyFilter : public QObject {
public:
    /// Watches the keys typed into window; the filter is a child of window.
    explicit KeyFilter(QWidget* window);
    ~KeyFilter() override;

    KeyFilter(const KeyFilter&) = delete;
    KeyFilter& operator=(const KeyFilter&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool filterKeyPress(QWidget* receiver, QKeyEvent* event);

    QWidget* m_window;
    bool m_resending = false;
};

}  // namespace quillet
