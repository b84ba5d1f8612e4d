#include "ui/dialogs/UTraiettorie.h"

#include <QListWidget>
#include <QVBoxLayout>

#include "ui/dialogs/PulsantiDialogo.h"

TTraiettorie::TTraiettorie(QWidget* parent)
    : QDialog(parent), lista_(new QListWidget(this)), corpo_(new QVBoxLayout) {
    setObjectName("Traiettorie");
    setWindowTitle("Traiettorie");
    lista_->setObjectName("CheckListBox1");
    lista_->setFixedSize(170, 170);
    auto* layout = new QVBoxLayout(this);
    corpo_->addWidget(lista_);
    layout->addLayout(corpo_);
    layout->addLayout(CreaPulsantiOkCancel(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    OrdinaTabulazione(this);
}

void TTraiettorie::ImpostaComponenti(int n) {
    for (int k = 1; k <= n; ++k) {
        auto* voce = new QListWidgetItem(QString("X%1").arg(k), lista_);
        voce->setFlags(voce->flags() | Qt::ItemIsUserCheckable);
        voce->setCheckState(Qt::Unchecked);
    }
}

QList<int> TTraiettorie::Selezionati() const {
    QList<int> componenti;
    for (int i = 0; i < lista_->count(); ++i)
        if (lista_->item(i)->checkState() == Qt::Checked) componenti << i + 1;
    return componenti;
}
