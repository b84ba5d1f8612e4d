#include "ui/dialogs/PulsantiDialogo.h"

#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

QBoxLayout* CreaPulsantiOkCancel(QDialog* dialogo) {
    auto* ok = new QPushButton(dialogo->style()->standardIcon(QStyle::SP_DialogOkButton), "OK",
                               dialogo);
    ok->setObjectName("OKBtn");
    ok->setDefault(true);
    auto* cancel = new QPushButton(
        dialogo->style()->standardIcon(QStyle::SP_DialogCancelButton), "Cancel", dialogo);
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
