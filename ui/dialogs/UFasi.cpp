#include "ui/dialogs/UFasi.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "core/base/Conversioni.h"
#include "ui/dialogs/PulsantiDialogo.h"

TFasi::TFasi(QWidget* parent)
    : TTraiettorie(parent), inizio_(new QLineEdit("0", this)), fine_(new QLineEdit("10", this)),
      passo_(new QLineEdit(QString::fromStdString(FloatToStr(0.01L)), this)) {
    setObjectName("Fasi");
    setWindowTitle("Fasi");
    CheckListBox1()->setFixedHeight(153);
    Corpo()->addLayout(CreaRighe({{"Inizio", inizio_}, {"Fine", fine_}, {"Passo", passo_}}));
    OrdinaTabulazione(this);
}
