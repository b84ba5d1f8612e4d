// TSpinEdit: the integer spin edit of the dialogs. Any run of digits may be typed; leaving
// the edit brings a value outside the range to the nearest bound and a text that is not an
// integer to the lower bound.
#pragma once

#include <QSpinBox>

class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    TSpinEdit(int minimo, int massimo, int valore, QWidget* parent = nullptr);

    // The value the text stands for right now, by the rule above (also while it is typed).
    int Value() const;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

private:
    int Interpreta(const QString& testo) const;
};
