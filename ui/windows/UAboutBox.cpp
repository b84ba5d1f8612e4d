#include "ui/windows/UAboutBox.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/frame/VersioneEseguibile.h"

namespace {
constexpr int LarghezzaChiave = 120;
constexpr int LarghezzaValore = 283;
}  // namespace

TAboutBox::TAboutBox(QWidget* parent, const std::string& eseguibile)
    : QDialog(parent), productName_(new QLabel), okButton_(new QPushButton("OK")),
      versionInfo_(new QTableWidget(0, 2)) {
    setObjectName("AboutBox");
    setWindowTitle("About");

    auto* panel1 = new QFrame;
    panel1->setObjectName("Panel1");
    panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    productName_->setObjectName("ProductName");
    productName_->setText("Risolutore numerico di Sistemi dinamici continui e discreti");
    productName_->setAlignment(Qt::AlignCenter);
    productName_->setWordWrap(true);
    QFont carattere = productName_->font();
    carattere.setPointSize(10);
    productName_->setFont(carattere);
    auto* sottotitolo = new QLabel("Edizione per Linux con Qt 6");
    sottotitolo->setObjectName("Label1");
    sottotitolo->setAlignment(Qt::AlignCenter);
    auto* pannello = new QVBoxLayout(panel1);
    pannello->addStretch();
    pannello->addWidget(productName_);
    pannello->addWidget(sottotitolo);
    pannello->addStretch();

    okButton_->setObjectName("OKButton");
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    versionInfo_->setObjectName("VersionInfo");
    versionInfo_->setHorizontalHeaderLabels({"Chiave", "Valore"});
    versionInfo_->verticalHeader()->hide();
    versionInfo_->setColumnWidth(0, LarghezzaChiave);
    versionInfo_->setColumnWidth(1, LarghezzaValore);
    versionInfo_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    versionInfo_->setSelectionBehavior(QAbstractItemView::SelectRows);
    versionInfo_->setFocusPolicy(Qt::NoFocus);
    versionInfo_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    for (const TVoceVersione& voce : LeggiVersione(eseguibile)) {
        const int riga = versionInfo_->rowCount();
        versionInfo_->insertRow(riga);
        versionInfo_->setItem(riga, 0, new QTableWidgetItem(QString::fromStdString(voce.chiave)));
        versionInfo_->setItem(riga, 1, new QTableWidgetItem(QString::fromStdString(voce.valore)));
    }

    auto* sinistra = new QVBoxLayout;
    sinistra->addWidget(panel1, 1);
    sinistra->addWidget(okButton_, 0, Qt::AlignHCenter);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(sinistra, 1);
    layout->addWidget(versionInfo_);
    // Ten rows do not fit the height: room for the scroll bar next to the two columns.
    versionInfo_->setFixedWidth(LarghezzaChiave + LarghezzaValore +
                                2 * versionInfo_->frameWidth() +
                                versionInfo_->verticalScrollBar()->sizeHint().width());
    setFixedSize(631, 167);
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    okButton_->setFocus();
}
