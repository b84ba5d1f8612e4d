// TStringGrid: a table of text cells whose row 0 and column 0 are fixed header cells.
// Cells are addressed [column, row], so cell [j, k] is column j of row k. Only the other
// cells can become current: Tab walks them row by row and leaves the grid after the last
// (Shift+Tab before the first), and the arrows move between them.
#pragma once

#include <QTableWidget>

class TStringGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);

    int ColCount() const { return columnCount(); }
    void SetColCount(int n);
    int RowCount() const { return rowCount(); }
    void SetRowCount(int n);

    QString Cella(int colonna, int riga) const;
    void SetCella(int colonna, int riga, const QString& testo);

protected:
    bool focusNextPrevChild(bool next) override;
    QModelIndex moveCursor(CursorAction azione, Qt::KeyboardModifiers modificatori) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    // Row 0 and column 0 get items that cannot be edited, selected or made current, drawn
    // as headers.
    void PreparaCelleFisse();
    // The editable cell after (or before) the current one in row order; none past the ends.
    QModelIndex CellaVicina(bool avanti) const;
};
