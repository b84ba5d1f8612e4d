#include "ui/dialogs/UParametri.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/dialogs/PulsantiDialogo.h"

TParametri::TParametri(QWidget* parent)
    : QDialog(parent), inizio_(new QLineEdit(this)), fine_(new QLineEdit(this)),
      passo_(new QLineEdit(this)) {
    setObjectName("Parametri");
    setWindowTitle("Parametri");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(CreaRighe({{"Inizio", inizio_}, {"Fine", fine_}, {"Passo", passo_}}));
    layout->addLayout(CreaPulsantiOkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    OrdinaTabulazione(this);
}
