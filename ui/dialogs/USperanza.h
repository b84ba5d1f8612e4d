// TSperanza: the dialog of "&Speranza...": the function of the state and the instant.
#pragma once

#include <QDialog>

class QLineEdit;

class TSperanza : public QDialog {
    Q_OBJECT
public:
    explicit TSperanza(QWidget* parent = nullptr);
    QLineEdit* Funzione() const { return funzione_; }
    QLineEdit* Istante() const { return istante_; }

private:
    QLineEdit* funzione_;
    QLineEdit* istante_;
};
