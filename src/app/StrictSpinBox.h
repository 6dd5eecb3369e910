#pragma once

#include <QDoubleSpinBox>

// A spin box that takes a typed text whole or not at all: any text can be typed, and one that
// does not read as a number in range ("1e999", "nan", "-5") changes nothing when it is entered
// (the box shows its value again), where a plain spin box would drop the keys it cannot place
// and take what is left ("1" of "1e999").
class TStrictSpinBox : public QDoubleSpinBox {
public:
    using QDoubleSpinBox::QDoubleSpinBox;

    QValidator::State validate(QString &text, int &pos) const override
    {
        const QValidator::State state = QDoubleSpinBox::validate(text, pos);
        return state == QValidator::Acceptable ? state : QValidator::Intermediate;
    }
};
