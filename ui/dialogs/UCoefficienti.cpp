#include "ui/dialogs/UCoefficienti.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/base/Conversioni.h"
#include "ui/dialogs/PulsantiDialogo.h"
#include "ui/widgets/StringGrid.h"

namespace {

TStringGrid* AggiungiPagina(QTabWidget* pagine, const char* titolo, const char* nomePagina,
                            const char* nomeGriglia) {
    auto* pagina = new QWidget;
    pagina->setObjectName(nomePagina);
    auto* grid = new TStringGrid(pagina);
    grid->setObjectName(nomeGriglia);
    auto* layout = new QVBoxLayout(pagina);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);
    pagine->addTab(pagina, titolo);
    return grid;
}

QLineEdit* AggiungiCampo(QFormLayout* righe, const char* etichetta, const char* nome,
                         const QString& testo) {
    auto* edit = new QLineEdit(testo);
    edit->setObjectName(nome);
    righe->addRow(etichetta, edit);
    return edit;
}

}  // namespace

TCoefficienti::TCoefficienti(QWidget* parent)
    : QDialog(parent), pageControl1_(new QTabWidget(this)) {
    setObjectName("Coefficienti");
    setWindowTitle("Coefficienti");
    pageControl1_->setObjectName("PageControl1");
    stringGrid1_ = AggiungiPagina(pageControl1_, "Origine", "TabSheet1", "StringGrid1");
    stringGrid2_ = AggiungiPagina(pageControl1_, "Deriva", "TabSheet2", "StringGrid2");

    auto* griglia = new QFormLayout;
    inizio_ = AggiungiCampo(griglia, "Inizio:", "Inizio", "0");
    fine_ = AggiungiCampo(griglia, "Fine:", "Fine", "10");
    passo_ = AggiungiCampo(griglia, "Passo:", "Passo", QString::fromStdString(FloatToStr(0.01L)));

    auto* sotto = new QHBoxLayout;
    sotto->addLayout(griglia);
    sotto->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pageControl1_, 1);
    layout->addLayout(sotto);
    layout->addLayout(CreaPulsantiOkCancel(this));
    resize(440, 360);
    OrdinaTabulazione(this);
    // Ctrl+Tab and Ctrl+PgDn go to the next page, with Shift or PgUp to the previous one,
    // also from inside a cell being typed.
    const std::pair<QKeyCombination, int> cambiPagina[] = {
        {Qt::CTRL | Qt::Key_Tab, 1},
        {Qt::CTRL | Qt::Key_PageDown, 1},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1},
        {Qt::CTRL | Qt::Key_PageUp, -1}};
    for (const auto& [tasti, verso] : cambiPagina)
        connect(new QShortcut(QKeySequence(tasti), this), &QShortcut::activated, this,
                [this, verso = verso] { CambiaPagina(verso); });
    // What the user types first goes into cell [1, 1] of the first page.
    stringGrid1_->setFocus();
}

void TCoefficienti::CambiaPagina(int verso) {
    const int pagine = pageControl1_->count();
    pageControl1_->setCurrentIndex((pageControl1_->currentIndex() + verso + pagine) % pagine);
    // The typing goes on in the new page's grid; a page without a visible grid keeps the tabs.
    auto* grid = pageControl1_->currentWidget()->findChild<TStringGrid*>();
    if (grid && grid->isVisible())
        grid->setFocus(Qt::ShortcutFocusReason);
    else
        pageControl1_->tabBar()->setFocus(Qt::ShortcutFocusReason);
}

void TCoefficienti::SegnaCampo(QWidget* campo, int colonna, int riga) {
    segnato_ = campo;
    colonnaSegnata_ = colonna;
    rigaSegnata_ = riga;
}

void TCoefficienti::MostraCampoSegnato() {
    if (!segnato_) return;
    if (auto* grid = qobject_cast<TStringGrid*>(segnato_)) {
        pageControl1_->setCurrentWidget(grid->parentWidget());
        grid->setCurrentCell(rigaSegnata_, colonnaSegnata_);
    }
    segnato_->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(segnato_)) edit->selectAll();
}

void TCoefficienti::EtichettaRighe(TStringGrid* grid, int n) {
    grid->SetRowCount(n + 1);
    for (int k = 1; k <= n; ++k) grid->SetCella(0, k, "X" + QString::number(k));
}

void TCoefficienti::ImpostaDimensione(int n) {
    EtichettaRighe(stringGrid1_, n);
    EtichettaRighe(stringGrid2_, n);
    stringGrid2_->SetCella(1, 0, "dt");
}

void TCoefficienti::AggiungiPaginaDiffusione() {
    stringGrid3_ = AggiungiPagina(pageControl1_, "Diffusione", "TabSheet3", "StringGrid3");
    setTabOrder(stringGrid2_, stringGrid3_);  // the grids before the edits below them
}

TCoefficientiS::TCoefficientiS(QWidget* parent) : TCoefficienti(parent) {
    setObjectName("CoefficientiS");
    AggiungiPaginaDiffusione();
    OrdinaTabulazione(this);
}

void TCoefficientiS::ImpostaDimensioniMoti(int n, int m) {
    ImpostaDimensione(n);
    StringGrid3()->SetColCount(m + 1);
    EtichettaRighe(StringGrid3(), n);
    for (int j = 1; j <= m; ++j) StringGrid3()->SetCella(j, 0, "dB" + QString::number(j));
    StringGrid3()->setVisible(m >= 1);
}

TCoefficientiSD::TCoefficientiSD(QWidget* parent) : TCoefficienti(parent) {
    setObjectName("CoefficientiSD");
    AggiungiPaginaDiffusione();
    OrdinaTabulazione(this);
}

void TCoefficientiSD::ImpostaDiagonale(int n) {
    ImpostaDimensione(n);
    StringGrid3()->SetColCount(2);
    EtichettaRighe(StringGrid3(), n);
    StringGrid3()->SetCella(1, 0, "diagonale");
}
