// TDiscreto: the dialog that defines a one-dimensional map x -> f(L, x): its formula, its
// derivative with respect to x and the seed of its orbits.
#pragma once

#include <QDialog>

class QLineEdit;

class TDiscreto : public QDialog {
    Q_OBJECT
public:
    explicit TDiscreto(QWidget* parent = nullptr);
    QLineEdit* Dinamica() const { return dinamica_; }
    QLineEdit* Derivata() const { return derivata_; }
    QLineEdit* Seed() const { return seed_; }

private:
    QLineEdit* dinamica_;
    QLineEdit* derivata_;
    QLineEdit* seed_;
};
