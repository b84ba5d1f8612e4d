#include "ui/dialogs/UParametriIter.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/dialogs/PulsantiDialogo.h"

TParametriIter::TParametriIter(QWidget* parent)
    : QDialog(parent), seed_(new QLineEdit(this)), skip_(new QLineEdit(this)),
      iterazioni_(new QLineEdit(this)) {
    setObjectName("ParametriIter");
    setWindowTitle("Parametri");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(
        CreaRighe({{"Seed", seed_}, {"Skip", skip_}, {"Iterazioni", iterazioni_}}));
    layout->addLayout(CreaPulsantiOkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    OrdinaTabulazione(this);
}
