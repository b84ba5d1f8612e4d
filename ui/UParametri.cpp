#include "ui/UParametri.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/PulsantiDialogo.h"

TParametri::TParametri(QWidget* parent)
    : QDialog(parent), inizio_(new QLineEdit(this)), fine_(new QLineEdit(this)),
      passo_(new QLineEdit(this)) {
    setObjectName("Parametri");
    setWindowTitle("Parametri");
    auto* righe = new QFormLayout;
    const std::pair<const char*, QLineEdit*> campi[] = {
        {"Inizio", inizio_}, {"Fine", fine_}, {"Passo", passo_}};
    for (const auto& [nome, edit] : campi) {
        edit->setObjectName(nome);
        righe->addRow(QString(nome) + ":", edit);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(righe);
    layout->addLayout(CreaPulsantiOkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
