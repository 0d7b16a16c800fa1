#pragma once

#include <QComboBox>

namespace quillet {

/// A combo box whose text may also be typed. Its edit field is made with the box, so the field
/// sits right beside the box in the window's focus chain and tab ordering keeps them together.
class EditableComboBox : public QComboBox {
public:
    explicit EditableComboBox(QWidget* parent) : QComboBox(parent) { setEditable(true); }
};

}  // namespace quillet
