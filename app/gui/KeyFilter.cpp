#include "gui/KeyFilter.h"

#include <QApplication>
#include <QChar>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

namespace quillet {

namespace {

constexpr char32_t kApostrophe = 39;
constexpr char32_t kFirstShifted = 97;
constexpr char32_t kLastAscii = 127;
constexpr char32_t kCaseShift = 32;

bool belongsTo(const QObject* watched, const QWidget* window) {
    const auto* widget = qobject_cast<const QWidget*>(watched);
    return widget != nullptr && widget->window() == window;
}

// Delete (which X11 sends with the text "\x7f"), Backspace, Tab, Return and the like carry
// control characters as their text: they are keys that edit or move, not characters typed into
// the box, so the filter leaves them to the control.
bool isEditingKey(const QString& text) {
    const QList<uint> codes = text.toUcs4();
    return std::all_of(codes.begin(), codes.end(),
                       [](uint code) { return QChar::category(code) == QChar::Other_Control; });
}

// The key code a keyboard would report for the changed character: Qt names printable keys by
// their capital, so the code of a capital is the character itself.
int keyCodeFor(const QString& text, int originalKey) {
    const QList<uint> codes = text.toUcs4();
    constexpr uint kFirstPrintable = 32;
    if (codes.size() != 1 || codes.front() < kFirstPrintable) {
        return originalKey;
    }
    return static_cast<int>(QChar::toUpper(codes.front()));
}

}  // namespace

char32_t filterTypedCharacter(char32_t code) {
    if (code == kApostrophe) {
        return kSwallowed;
    }
    if (code >= kFirstShifted && code <= kLastAscii) {
        return code - kCaseShift;
    }
    if (code > kLastAscii) {
        // NOTE: beyond ASCII a fixed shift of 32 would only be right for one code page; the
        // Unicode capital is what the shift meant there, and caseless scripts stay as typed.
        return static_cast<char32_t>(QChar::toUpper(static_cast<uint>(code)));
    }
    return code;
}

QString filterTypedText(const QString& text) {
    QList<uint> codes = text.toUcs4();
    QList<uint> kept;
    kept.reserve(codes.size());
    for (const uint code : codes) {
        const char32_t mapped = filterTypedCharacter(code);
        if (mapped != kSwallowed) {
            kept.push_back(mapped);
        }
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(kept.constData()), kept.size());
}

KeyFilter::KeyFilter(QWidget* window) : QObject(window), m_window(window) {
    qApp->installEventFilter(this);
}

KeyFilter::~KeyFilter() {
    if (qApp != nullptr) {
        qApp->removeEventFilter(this);
    }
}

bool KeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (m_resending || !belongsTo(watched, m_window)) {
        return false;
    }
    if (event->type() == QEvent::KeyPress) {
        return filterKeyPress(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::InputMethod) {
        // Text composed by an input method arrives here instead of as key presses.
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (!input->commitString().isEmpty()) {
            input->setCommitString(filterTypedText(input->commitString()),
                                   input->replacementStart(), input->replacementLength());
        }
    }
    return false;
}

bool KeyFilter::filterKeyPress(QWidget* receiver, QKeyEvent* event) {
    const QString typed = event->text();
    if (typed.isEmpty()) {
        return false;  // not a character: arrows, function keys, modifiers
    }
    if (typed.toUcs4().contains(kEscapeCode)) {
        // The window goes, and with it the program when it is the last one; no control of the
        // closed window has any use for the key.
        m_window->close();
        return true;
    }
    if (isEditingKey(typed)) {
        return false;
    }
    const QString filtered = filterTypedText(typed);
    if (filtered == typed) {
        return false;
    }
    if (filtered.isEmpty()) {
        return true;
    }
    // A key event's text cannot be changed in place: the control gets a new event in its stead,
    // synchronously, so the order of the typed characters is kept.
    QKeyEvent changed(event->type(), keyCodeFor(filtered, event->key()), event->modifiers(),
                      event->nativeScanCode(), event->nativeVirtualKey(), event->nativeModifiers(),
                      filtered, event->isAutoRepeat(), static_cast<quint16>(event->count()),
                      event->device());
    m_resending = true;
    QCoreApplication::sendEvent(receiver, &changed);
    m_resending = false;
    return true;
}

}  // namespace quillet
