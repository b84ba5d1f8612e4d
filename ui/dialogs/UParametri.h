// TParametri: the time grid of the current system, filled and read by "&Opzioni...".
#pragma once

#include <QDialog>

class QLineEdit;

class TParametri : public QDialog {
    Q_OBJECT
public:
    explicit TParametri(QWidget* parent = nullptr);

    QLineEdit* Inizio() const { return inizio_; }
    QLineEdit* Fine() const { return fine_; }
    QLineEdit* Passo() const { return passo_; }

private:
    QLineEdit* inizio_;
    QLineEdit* fine_;
    QLineEdit* passo_;
};
