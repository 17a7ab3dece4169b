#include "config/spin_field_widget.h"

#include <algorithm>

TSpinField::TSpinField(int low, int high, QWidget* parent) : QSpinBox(parent) {
    setRange(low, high);
    setValue(low);
}

int TSpinField::Value() {
    interpretText();
    return value();
}

void TSpinField::fixup(QString& input) const {
    QString digits = input;
    if (!prefix().isEmpty() && digits.startsWith(prefix()))
        digits.remove(0, prefix().size());
    if (!suffix().isEmpty() && digits.endsWith(suffix()))
        digits.chop(suffix().size());
    bool ok = false;
    const qlonglong typed = locale().toLongLong(digits.trimmed(), &ok);
    const qlonglong value = ok ? std::clamp<qlonglong>(typed, minimum(), maximum()) : minimum();
    input = textFromValue(static_cast<int>(value));
}
