#include "adapters/QtControls.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>

#include "runtime/Date.h"
#include "runtime/RuntimeError.h"

namespace quillet {

namespace {

QString toQString(const Variant& value) {
    return QString::fromStdString(value.toString());
}

class WidgetControl : public Dispatch {
public:
    explicit WidgetControl(QWidget* widget) : m_widget(widget) {}

    Variant getProperty(const std::string& name) const override {
        QWidget* w = alive();
        if (name == "Text") {
            if (auto* e = qobject_cast<QLineEdit*>(w)) {
                return e->text().toStdString();
            }
            if (auto* l = qobject_cast<QLabel*>(w)) {
                return l->text().toStdString();
            }
            if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
                return p->toPlainText().toStdString();
            }
            if (auto* c = qobject_cast<QComboBox*>(w)) {
                return c->currentText().toStdString();
            }
            if (auto* d = qobject_cast<QDateEdit*>(w)) {
                return d->text().toStdString();
            }
        } else if (name == "Value") {
            if (auto* d = qobject_cast<QDateEdit*>(w)) {
                const QDate q = d->date();
                return Variant(Date{q.year(), q.month(), q.day()});
            }
        }
        return Dispatch::getProperty(name);
    }

    void setProperty(const std::string& name, const Variant& value) override {
        QWidget* w = alive();
        if (name == "Text") {
            if (auto* e = qobject_cast<QLineEdit*>(w)) {
                e->setText(toQString(value));
                return;
            }
            if (auto* l = qobject_cast<QLabel*>(w)) {
                l->setText(toQString(value));
                return;
            }
            if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
                p->setPlainText(toQString(value));
                return;
            }
            if (auto* c = qobject_cast<QComboBox*>(w)) {
                const QString text = toQString(value);
                if (c->isEditable()) {
                    c->setEditText(text);
                } else {
                    c->setCurrentText(text);
                }
                return;
            }
        } else if (name == "Value") {
            if (auto* d = qobject_cast<QDateEdit*>(w)) {
                const Date date = value.toDate();
                d->setDate(QDate(date.year, date.month, date.day));
                return;
            }
        }
        Dispatch::setProperty(name, value);
    }

private:
    QWidget* alive() const {
        if (!m_widget) {
            throw objectNotSet();
        }
        return m_widget.data();
    }

    QPointer<QWidget> m_widget;
};

class ComboBoxList : public ListControl {
public:
    explicit ComboBoxList(QComboBox* comboBox) : m_combo(comboBox) {}

    void Clear() override { combo()->clear(); }
    void AddItem(const std::string& item) override {
        combo()->addItem(QString::fromStdString(item));
    }
    int ListCount() const override { return combo()->count(); }
    int ListIndex() const override { return combo()->currentIndex(); }
    void setListIndex(int index) override {
        if (index < -1 || index >= combo()->count()) {
            throw RuntimeError(380, "Invalid property value");
        }
        combo()->setCurrentIndex(index);
    }

private:
    QComboBox* combo() const {
        if (!m_combo) {
            throw objectNotSet();
        }
        return m_combo.data();
    }

    QPointer<QComboBox> m_combo;
};

}  // namespace

Object bindControl(QWidget* widget) {
    if (widget == nullptr) {
        return nullptr;
    }
    return std::make_shared<WidgetControl>(widget);
}

std::shared_ptr<ListControl> bindList(QComboBox* comboBox) {
    if (comboBox == nullptr) {
        return nullptr;
    }
    return std::make_shared<ComboBoxList>(comboBox);
}

}  // namespace quillet
