// TParametriIter: the seed, the iterations skipped and the iterations drawn of a cobweb.
#pragma once

#include <QDialog>

class QLineEdit;

class TParametriIter : public QDialog {
    Q_OBJECT
public:
    explicit TParametriIter(QWidget* parent = nullptr);
    QLineEdit* Seed() const { return seed_; }
    QLineEdit* Skip() const { return skip_; }
    QLineEdit* Iterazioni() const { return iterazioni_; }

private:
    QLineEdit* seed_;
    QLineEdit* skip_;
    QLineEdit* iterazioni_;
};
