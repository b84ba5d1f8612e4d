#include "ui/dialogs/USperanza.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/dialogs/PulsantiDialogo.h"
#include "ui/widgets/TestoLungo.h"

TSperanza::TSperanza(QWidget* parent)
    : QDialog(parent), funzione_(new QLineEdit(this)), istante_(new QLineEdit(this)) {
    setObjectName("Speranza");
    setWindowTitle("Speranza matematica");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(CreaRighe({{"Funzione", funzione_}, {"Istante", istante_}}));
    layout->addLayout(CreaPulsantiOkCancel(this));
    funzione_->setMinimumWidth(220);
    AccettaTestoIntero(funzione_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    OrdinaTabulazione(this);
}
