#pragma once

#include <QDateEdit>

namespace quillet {

/// A date edit that Tab leaves at once: the window's tab order goes from control to control, and
/// the arrow keys already move between day, month and year.
class DatePicker : public QDateEdit {
public:
    using QDateEdit::QDateEdit;

protected:
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }
};

}  // namespace quillet
