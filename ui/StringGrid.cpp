#include "ui/StringGrid.h"

#include <QHeaderView>

namespace {

constexpr int LarghezzaEtichette = 100;
constexpr int LarghezzaCelle = 180;

}  // namespace

TStringGrid::TStringGrid(QWidget* parent) : QTableWidget(2, 2, parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setDefaultSectionSize(LarghezzaCelle);
    setColumnWidth(0, LarghezzaEtichette);
    setShowGrid(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Typing, F2 or a double click edit a cell; a click on the current cell does not, so that
    // it cannot race with keys typed right after it.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    PreparaCelleFisse();
    setCurrentCell(1, 1);
}

void TStringGrid::SetColCount(int n) {
    setColumnCount(n);
    setColumnWidth(0, LarghezzaEtichette);
    PreparaCelleFisse();
}

void TStringGrid::SetRowCount(int n) {
    setRowCount(n);
    PreparaCelleFisse();
}

QString TStringGrid::Cella(int colonna, int riga) const {
    const QTableWidgetItem* cella = item(riga, colonna);
    return cella ? cella->text() : QString();
}

void TStringGrid::SetCella(int colonna, int riga, const QString& testo) {
    if (QTableWidgetItem* cella = item(riga, colonna))
        cella->setText(testo);
    else
        setItem(riga, colonna, new QTableWidgetItem(testo));
}

void TStringGrid::PreparaCelleFisse() {
    auto prepara = [this](int riga, int colonna) {
        QTableWidgetItem* cella = item(riga, colonna);
        if (!cella) {
            cella = new QTableWidgetItem;
            setItem(riga, colonna, cella);
        }
        cella->setFlags(Qt::ItemIsEnabled);
        cella->setBackground(palette().button());
        cella->setForeground(palette().buttonText());
    };
    for (int colonna = 0; colonna < columnCount(); ++colonna) prepara(0, colonna);
    for (int riga = 1; riga < rowCount(); ++riga) prepara(riga, 0);
}
