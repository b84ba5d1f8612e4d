#include "ui/dialogs/UDimensioni.h"

#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/dialogs/PulsantiDialogo.h"
#include "ui/widgets/SpinEdit.h"

namespace {

QLabel* CreaEtichetta(const char* testo, const char* nome, QWidget* compagno, QWidget* parent) {
    auto* label = new QLabel(testo, parent);
    label->setObjectName(nome);
    label->setBuddy(compagno);
    return label;
}

}  // namespace

TDimensioni::TDimensioni(QWidget* parent)
    : QDialog(parent), righe_(new QFormLayout), spinEdit1_(new TSpinEdit(1, 99, 1, this)) {
    setObjectName("Dimensioni");
    setWindowTitle("Dimensioni");
    spinEdit1_->setObjectName("SpinEdit1");
    label1_ = CreaEtichetta("Dimensione sistema:", "Label1", spinEdit1_, this);
    righe_->addRow(label1_, spinEdit1_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(righe_);
    layout->addStretch();
    layout->addLayout(CreaPulsantiOkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    OrdinaTabulazione(this);
}

TDimensioniS::TDimensioniS(QWidget* parent)
    : TDimensioni(parent), spinEdit2_(new TSpinEdit(0, 99, 1, this)) {
    setObjectName("DimensioniS");
    spinEdit2_->setObjectName("SpinEdit2");
    label2_ = CreaEtichetta("Numero moti:", "Label2", spinEdit2_, this);
    Righe()->addRow(label2_, spinEdit2_);
    OrdinaTabulazione(this);
}
