#include "ui/dialogs/PulsantiDialogo.h"

#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

QBoxLayout* CreaPulsantiOkCancel(QDialog* dialogo) {
    auto* ok = new QPushButton(dialogo->style()->standardIcon(QStyle::SP_DialogOkButton), "OK",
                               dialogo);
    ok->setObjectName("OKBtn");
    ok->setDefault(true);
    auto* cancel = new QPushButton(
        dialogo->style()->standardIcon(QStyle::SP_DialogCancelButton), "Annulla", dialogo);
    cancel->setObjectName("CancelBtn");
    QObject::connect(ok, &QPushButton::clicked, dialogo, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialogo, &QDialog::reject);
    auto* riga = new QHBoxLayout;
    riga->addStretch();
    riga->addWidget(ok);
    riga->addWidget(cancel);
    return riga;
}

QFormLayout* CreaRighe(std::initializer_list<std::pair<const char*, QLineEdit*>> campi) {
    auto* righe = new QFormLayout;
    for (const auto& [nome, edit] : campi) {
        edit->setObjectName(nome);
        righe->addRow(QString(nome) + ":", edit);
    }
    return righe;
}

namespace {

void ControlliInOrdine(const QLayout* layout, QList<QWidget*>& controlli) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* elemento = layout->itemAt(i);
        if (QWidget* w = elemento->widget()) {
            if (w->focusPolicy() != Qt::NoFocus) controlli << w;
        } else if (const QLayout* interno = elemento->layout()) {
            ControlliInOrdine(interno, controlli);
        }
    }
}

}  // namespace

void OrdinaTabulazione(QWidget* dialogo) {
    QList<QWidget*> controlli;
    if (dialogo->layout()) ControlliInOrdine(dialogo->layout(), controlli);
    for (qsizetype i = 1; i < controlli.size(); ++i)
        QWidget::setTabOrder(controlli[i - 1], controlli[i]);
}
