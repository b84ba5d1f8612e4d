#include "ui/widgets/SpinEdit.h"

#include <algorithm>

#include <QRegularExpression>

namespace {

// An optional sign and digits, nothing else; the value saturates far beyond any range.
bool LeggiIntero(const QString& testo, long long& valore) {
    static const QRegularExpression intero(R"(^\s*[+-]?\d+\s*$)");
    if (!intero.match(testo).hasMatch()) return false;
    bool ok = false;
    valore = testo.trimmed().toLongLong(&ok);
    if (!ok) valore = testo.trimmed().startsWith('-') ? -(1LL << 62) : (1LL << 62);
    return true;
}

}  // namespace

TSpinEdit::TSpinEdit(int minimo, int massimo, int valore, QWidget* parent) : QSpinBox(parent) {
    setRange(minimo, massimo);
    setValue(valore);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

int TSpinEdit::Value() const { return Interpreta(cleanText()); }

int TSpinEdit::Interpreta(const QString& testo) const {
    long long v = 0;
    if (!LeggiIntero(testo, v)) return minimum();
    return static_cast<int>(std::clamp<long long>(v, minimum(), maximum()));
}

QValidator::State TSpinEdit::validate(QString& input, int&) const {
    const QString testo = input.trimmed();
    if (testo.isEmpty() || testo == "+" || testo == "-") return QValidator::Intermediate;
    long long v = 0;
    if (!LeggiIntero(testo, v)) return QValidator::Invalid;
    return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void TSpinEdit::fixup(QString& input) const { input = QString::number(Interpreta(input)); }
