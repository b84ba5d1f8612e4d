// TStringGrid: a table of text cells whose row 0 and column 0 are fixed header cells.
// Cells are addressed [column, row], so cell [j, k] is column j of row k.
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

private:
    // Row 0 and column 0 get items that cannot be edited or selected, drawn as headers.
    void PreparaCelleFisse();
};
