#include "ui/windows/UIterazioneChild.h"

#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>

#include "core/base/Conversioni.h"
#include "core/discrete/Bifurcation.h"
#include "ui/frame/ErroreApplicazione.h"
#include "ui/dialogs/UParametriIter.h"
#include "ui/windows/AvvisiPiano.h"

TIterazioneChild::TIterazioneChild(TBifurcation& motore, QWidget* parent)
    : TComunePiano(parent), motore_(motore), barra_(new TBarraLambda(this)),
      piano_(new TPianoIterazione(this)), iterazione1_(new QMenu("&Iterazione", this)) {
    setWindowTitle("Iterazione");
    piano_->setObjectName("PianoIterazione1");
    AggiungiSopraPiano(barra_);
    SetPiano(piano_);
    barra_->SetOnChange([this](Extended lambda) {
        piano_->SetFunzione(motore_.CreaIterazione(lambda));
    });
    iterazione1_->setObjectName("Iterazione1");
    QAction* parametri = iterazione1_->addAction("&Parametri...");
    parametri->setObjectName("Parametri1");
    connect(parametri, &QAction::triggered, this, &TIterazioneChild::Parametri1Click);
}

QList<IMenuFiglio::Voce> TIterazioneChild::MenuFiglio() const { return {{iterazione1_, 1}}; }

void TIterazioneChild::Parametri1Click() {
    TParametriIter dialogo(this);
    dialogo.Seed()->setText(QString::fromStdString(FloatToStr(piano_->Seed())));
    dialogo.Skip()->setText(QString::number(piano_->Skip()));
    dialogo.Iterazioni()->setText(QString::number(piano_->Iterazioni()));
    if (dialogo.exec() != QDialog::Accepted) return;
    // In order: a value that cannot be read leaves the earlier ones applied.
    EseguiComando(this, [&] {
        piano_->SetSeed(StrToFloat(dialogo.Seed()->text().toStdString()));
        piano_->SetSkip(StrToInt(dialogo.Skip()->text().toStdString()));
        piano_->SetIterazioni(StrToInt(dialogo.Iterazioni()->text().toStdString()));
        const QString avviso = AvvisoIterazioni(piano_->Iterazioni());
        if (!avviso.isEmpty()) QMessageBox::warning(this, windowTitle(), avviso);
    });
}
