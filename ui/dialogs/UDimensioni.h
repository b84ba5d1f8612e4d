// TDimensioni asks for the dimension of a system; TDimensioniS also for its number of
// Wiener motions.
#pragma once

#include <QDialog>

class QFormLayout;
class QLabel;
class TSpinEdit;

class TDimensioni : public QDialog {
    Q_OBJECT
public:
    explicit TDimensioni(QWidget* parent = nullptr);

    QLabel* Label1() const { return label1_; }
    TSpinEdit* SpinEdit1() const { return spinEdit1_; }  // "Dimensione sistema:", 1 ... 99

protected:
    // The rows of labelled edits; the OK and Cancel buttons stay below them.
    QFormLayout* Righe() const { return righe_; }

private:
    QFormLayout* righe_;
    QLabel* label1_;
    TSpinEdit* spinEdit1_;
};

class TDimensioniS : public TDimensioni {
    Q_OBJECT
public:
    explicit TDimensioniS(QWidget* parent = nullptr);

    QLabel* Label2() const { return label2_; }
    TSpinEdit* SpinEdit2() const { return spinEdit2_; }  // "Numero moti:", 0 ... 99

private:
    QLabel* label2_;
    TSpinEdit* spinEdit2_;
};
