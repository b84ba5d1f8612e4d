// TTraiettorie: the dialog that picks the components a trajectory window draws.
#pragma once

#include <QDialog>

class QListWidget;
class QVBoxLayout;

class TTraiettorie : public QDialog {
    Q_OBJECT
public:
    explicit TTraiettorie(QWidget* parent = nullptr);

    // Appends n unchecked entries "X1" ... "Xn"; entry k - 1 stands for component k.
    void ImpostaComponenti(int n);
    QListWidget* CheckListBox1() const { return lista_; }
    // The components checked, in list order.
    QList<int> Selezionati() const;

protected:
    // Where a subclass adds its own rows, between the list and the buttons.
    QVBoxLayout* Corpo() const { return corpo_; }

private:
    QListWidget* lista_;
    QVBoxLayout* corpo_;
};
