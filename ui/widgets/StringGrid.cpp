#include "ui/widgets/StringGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "ui/widgets/TestoLungo.h"

namespace {

constexpr int LarghezzaEtichette = 100;
constexpr int LarghezzaCelle = 180;

// The cells hold formulas: their editor takes a pasted text whole.
class TEditorCella : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& opzioni,
                          const QModelIndex& indice) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, opzioni, indice);
        if (auto* riga = qobject_cast<QLineEdit*>(editor)) AccettaTestoIntero(riga);
        return editor;
    }
};

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
    setItemDelegate(new TEditorCella(this));
    PreparaCelleFisse();
    setCurrentCell(1, 1);
}

QModelIndex TStringGrid::CellaVicina(bool avanti) const {
    const int righe = rowCount(), colonne = columnCount();
    if (righe < 2 || colonne < 2) return {};
    int r = currentRow(), c = currentColumn();
    if (r < 1 || c < 1)
        return avanti ? model()->index(1, 1) : model()->index(righe - 1, colonne - 1);
    c += avanti ? 1 : -1;
    if (c >= colonne) {
        c = 1;
        ++r;
    } else if (c < 1) {
        c = colonne - 1;
        --r;
    }
    return r >= 1 && r < righe ? model()->index(r, c) : QModelIndex();
}

bool TStringGrid::focusNextPrevChild(bool next) {
    const QModelIndex cella = CellaVicina(next);
    if (cella.isValid()) {
        setCurrentIndex(cella);
        return true;
    }
    return QWidget::focusNextPrevChild(next);  // the next control of the dialog
}

QModelIndex TStringGrid::moveCursor(CursorAction azione, Qt::KeyboardModifiers modificatori) {
    if (azione == MoveNext || azione == MovePrevious) return CellaVicina(azione == MoveNext);
    const QModelIndex cella = QTableWidget::moveCursor(azione, modificatori);
    return cella.row() >= 1 && cella.column() >= 1 ? cella : currentIndex();
}

void TStringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool tab = hint == QAbstractItemDelegate::EditNextItem ||
                     hint == QAbstractItemDelegate::EditPreviousItem;
    if (tab && !CellaVicina(hint == QAbstractItemDelegate::EditNextItem).isValid()) {
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
        QWidget::focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
        return;
    }
    QTableWidget::closeEditor(editor, hint);
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
        cella->setFlags(Qt::NoItemFlags);
        cella->setBackground(palette().button());
        cella->setForeground(palette().buttonText());
    };
    for (int colonna = 0; colonna < columnCount(); ++colonna) prepara(0, colonna);
    for (int riga = 1; riga < rowCount(); ++riga) prepara(riga, 0);
}
