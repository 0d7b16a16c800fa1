#include "gui/WindowAccessibility.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QString>
#include <QVariant>
#include <QWidget>

namespace quillet {

namespace {

// Widgets marked with this property get the interfaces below instead of Qt's own.
constexpr const char* kPresentation = "quilletAccessiblePresentation";
constexpr int kApplicationWindow = 1;
constexpr int kNamedComboBox = 2;

/// A combo box: its name from its label, its value the text it shows, the list on request.
class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        const auto* box = static_cast<const QComboBox*>(widget());
        if (kind == QAccessible::Name && !box->accessibleName().isEmpty()) {
            return box->accessibleName();
        }
        if (kind == QAccessible::Name || kind == QAccessible::Value) {
            return box->currentText();
        }
        return QAccessibleWidget::text(kind);
    }

    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction();
    }

    void doAction(const QString& action) override {
        if (action == showMenuAction()) {
            static_cast<QComboBox*>(widget())->showPopup();
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* presentation(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) {
        return nullptr;
    }
    // Qt's accessibility cache owns the interfaces a factory returns.
    switch (widget->property(kPresentation).toInt()) {
        case kApplicationWindow:
            return widget->isWindow() ? new QAccessibleWidget(widget, QAccessible::Window)
                                      : nullptr;
        case kNamedComboBox:
            if (auto* box = qobject_cast<QComboBox*>(widget)) {
                return new NamedComboBox(box);
            }
            return nullptr;
        default:
            return nullptr;
    }
}

void present(QWidget& widget, int how) {
    static const bool installed = [] {
        QAccessible::installFactory(presentation);
        return true;
    }();
    static_cast<void>(installed);
    widget.setProperty(kPresentation, how);
    // An interface made before the mark (a change event once a screen reader listens) would
    // stay in Qt's cache: drop it, so the next question gets the marked one.
    if (QAccessible::isActive()) {
        if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget)) {
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
        }
    }
}

}  // namespace

void presentAsApplicationWindow(QWidget& window, const char* name, const char* description) {
    present(window, kApplicationWindow);
    window.setAccessibleName(QString::fromUtf8(name));
    window.setAccessibleDescription(QString::fromUtf8(description));
}

void nameComboBoxByItsLabel(QComboBox& box) {
    present(box, kNamedComboBox);
}

}  // namespace quillet
