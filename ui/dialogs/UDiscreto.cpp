#include "ui/dialogs/UDiscreto.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/dialogs/PulsantiDialogo.h"
#include "ui/widgets/TestoLungo.h"

TDiscreto::TDiscreto(QWidget* parent)
    : QDialog(parent), dinamica_(new QLineEdit("x0*x1*(1-x1)", this)),
      derivata_(new QLineEdit("x0*(1-2*x1)", this)), seed_(new QLineEdit("0.321", this)) {
    setObjectName("Discreto");
    setWindowTitle("Sistema discreto");
    auto* righe = new QFormLayout;
    const std::tuple<const char*, const char*, QLineEdit*> campi[] = {
        {"Dinamica", "Dinamica:", dinamica_},
        {"Derivata", "Derivata (w.r.t. x1)", derivata_},
        {"Seed", "Seed iniziale:", seed_}};
    for (const auto& [nome, etichetta, edit] : campi) {
        edit->setObjectName(nome);
        righe->addRow(etichetta, edit);
    }
    dinamica_->setMinimumWidth(180);
    AccettaTestoIntero(dinamica_);
    AccettaTestoIntero(derivata_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(righe);
    layout->addWidget(new QLabel("Convesrione dei parametri: L = x0, X = x1", this));
    layout->addLayout(CreaPulsantiOkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    OrdinaTabulazione(this);
}
