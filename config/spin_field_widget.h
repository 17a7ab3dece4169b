#pragma once

#include <QSpinBox>

// A spin field of the option dialogs: a whole number within a range. What
// is left in it when it is read (focus leaving it, Enter, the dialog's OK)
// is taken as the program's spin fields take it: text that is not a number
// (an emptied field, a lone "-") reads as the range's minimum, and a number
// below the minimum is the minimum. (A number above the maximum cannot be
// typed.) The field never falls back to the value it had before.
class TSpinField : public QSpinBox {
    Q_OBJECT
public:
    TSpinField(int low, int high, QWidget* parent = nullptr);

    // The value of the text as it stands now, taken as above; for the OK
    // of a dialog, which may run without the focus having left the field.
    int Value();

protected:
    void fixup(QString& input) const override;
};
