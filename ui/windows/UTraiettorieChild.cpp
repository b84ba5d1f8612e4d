#include "ui/windows/UTraiettorieChild.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>

#include "ui/windows/CustomFunction.h"
#include "ui/frame/ErroreApplicazione.h"
#include "ui/widgets/TestoLungo.h"

TTraiettorieChild::TTraiettorieChild(QWidget* parent)
    : TComunePiano(parent), piano_(new TPianoTraiettorie(this)),
      funzione1_(new QMenu("Fun&zione", this)) {
    resize(459, height());
    piano_->setObjectName("PianoTraiettorie1");
    piano_->SetDX(10);
    piano_->SetMinY(-10);
    piano_->SetDY(20);
    SetPiano(piano_);
    funzione1_->setObjectName("Funzione1");
    funzione1_->menuAction()->setObjectName("Funzione1");
    QAction* aggiungi = funzione1_->addAction("&Aggiungi...");
    aggiungi->setObjectName("Aggiungi1");
    connect(aggiungi, &QAction::triggered, this, &TTraiettorieChild::Aggiungi1Click);
}

QList<IMenuFiglio::Voce> TTraiettorieChild::MenuFiglio() const { return {{funzione1_, 1}}; }

void TTraiettorieChild::Aggiungi1Click() {
    QInputDialog dialogo(this);
    dialogo.setWindowTitle("Inserire funzione");
    dialogo.setLabelText("Y = F(x0)");
    dialogo.setTextValue("x0");
    if (auto* edit = dialogo.findChild<QLineEdit*>()) AccettaTestoIntero(edit);
    if (dialogo.exec() != QDialog::Accepted) return;
    const QString testo = dialogo.textValue();
    EseguiComando(this, [&] {
        piano_->AddFunzione(std::make_unique<TCustomFunction>(testo.toStdString()));
    });
}
