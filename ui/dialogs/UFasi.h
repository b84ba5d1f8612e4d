// TFasi: the dialog of a phase window: two components, and the start, end and step of the
// sweep in time.
#pragma once

#include "ui/dialogs/UTraiettorie.h"

class QLineEdit;

class TFasi : public TTraiettorie {
    Q_OBJECT
public:
    explicit TFasi(QWidget* parent = nullptr);

    QLineEdit* Inizio() const { return inizio_; }
    QLineEdit* Fine() const { return fine_; }
    QLineEdit* Passo() const { return passo_; }

private:
    QLineEdit* inizio_;
    QLineEdit* fine_;
    QLineEdit* passo_;
};
