#include "plot/SizePianoCartesiano.h"

#include <cmath>

#include <QLabel>

#include "core/base/Conversioni.h"
#include "core/base/Exception.h"
#include "plot/VtrSpin.h"

TSizePianoCartesiano::TSizePianoCartesiano(QWidget* parent) : QWidget(parent) {
    static constexpr const char* etichette[] = {"MinX:", "DX:", "MinY:", "DY:"};
    int left = 3, top = 3, h = 0;
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLabel(etichette[i], this);
        auto* edit = new TFloatSpinEdit(this);
        edit->setObjectName(QString("Edit%1").arg(i));
        edit->SetIncrement(1.0);
        h = edit->sizeHint().height();
        label->move(left, top);
        edit->setGeometry(left + 50, top, edit->sizeHint().width(), h);
        connect(edit, &QLineEdit::textChanged, this, [this, i] { EditChange(i); });
        edits_[static_cast<std::size_t>(i)] = edit;
        // Two per row: after an even index 200 to the right, after an odd one the next row.
        if (i % 2 == 0) {
            left += 200;
        } else {
            left = 3;
            top += h;
        }
    }
    setFixedHeight(2 * h + 10);
}

void TSizePianoCartesiano::SetPianoCartesiano(TPianoCartesiano* piano) {
    piano_ = piano;
    if (!piano) {
        for (TFloatSpinEdit* edit : edits_) edit->SetValue(0);
        return;
    }
    Aggiorna();
    QPointer<TSizePianoCartesiano> self(this);
    piano->SetOnAggiorna([self](TPianoCartesiano&) {
        if (self) self->Aggiorna();
    });
}

namespace {

// The fewest significant digits that keep the value within a billionth of the view's width
// or height: the 20-digit values a zoom leaves read as about ten digits.
Extended ValoreBreve(const TPianoCartesiano& piano, int indice) {
    const Extended v = piano.Estensione(indice);
    const Extended tolleranza = piano.Estensione(indice < 2 ? 1 : 3) * 1e-9L;
    for (int cifre = 1; cifre < 21; ++cifre)
        if (const Extended breve = ArrotondaCifre(v, cifre); std::fabs(breve - v) <= tolleranza)
            return breve;
    return v;
}

}  // namespace

void TSizePianoCartesiano::Aggiorna() {
    // Loading an edit writes its value back, so the plane then holds exactly what is shown.
    for (int i = 0; i < 4 && piano_; ++i) {
        Edit(i)->SetValue(ValoreBreve(*piano_, i));
        Edit(i)->setCursorPosition(0);
    }
}

void TSizePianoCartesiano::EditChange(int indice) {
    if (!piano_) return;
    const Extended v = Edit(indice)->Value();
    // A width or height that is not positive is ignored until the next reload.
    if (indice % 2 == 1 && !(v > 0)) return;
    piano_->SetEstensione(indice, v);
}
