// The coefficient dialogs: initial values, drifts and time grid (TCoefficienti), with a full
// diffusion matrix (TCoefficientiS) or a diagonal one (TCoefficientiSD).
#pragma once

#include <QDialog>

class QLineEdit;
class QTabWidget;
class TStringGrid;

class TCoefficienti : public QDialog {
    Q_OBJECT
public:
    explicit TCoefficienti(QWidget* parent = nullptr);

    // Rows "X1" ... "Xn" on "Origine" and "Deriva"; "Deriva" heads its column "dt".
    void ImpostaDimensione(int n);

    QTabWidget* PageControl1() const { return pageControl1_; }
    TStringGrid* StringGrid1() const { return stringGrid1_; }  // "Origine": cell [1, k]
    TStringGrid* StringGrid2() const { return stringGrid2_; }  // "Deriva": cell [1, k]
    // "Diffusione", or none when the dialog has no diffusion page.
    TStringGrid* StringGrid3() const { return stringGrid3_; }
    QLineEdit* Inizio() const { return inizio_; }
    QLineEdit* Fine() const { return fine_; }
    QLineEdit* Passo() const { return passo_; }

    // The field being read (an edit, or cell [colonna, riga] of a grid); after a failure
    // MostraCampoSegnato makes it current, on its page, for when the dialog shows again.
    void SegnaCampo(QWidget* campo, int colonna = 1, int riga = 1);
    void MostraCampoSegnato();
    // The next page (verso 1) or the previous one (-1), round the ends.
    void CambiaPagina(int verso);

protected:
    // Adds the page "Diffusione" with StringGrid3 (for the two stochastic variants).
    void AggiungiPaginaDiffusione();
    // "X1" ... "Xn" down column 0 of grid from row 1.
    static void EtichettaRighe(TStringGrid* grid, int n);

private:
    QTabWidget* pageControl1_;
    TStringGrid* stringGrid1_;
    TStringGrid* stringGrid2_;
    TStringGrid* stringGrid3_ = nullptr;
    QLineEdit* inizio_;
    QLineEdit* fine_;
    QLineEdit* passo_;
    QWidget* segnato_ = nullptr;
    int colonnaSegnata_ = 1;
    int rigaSegnata_ = 1;
};

// Full diffusion: cell [j, k] is the coefficient of dB_j in the equation of X_k.
class TCoefficientiS : public TCoefficienti {
    Q_OBJECT
public:
    explicit TCoefficientiS(QWidget* parent = nullptr);
    // m = 0 hides the diffusion grid.
    void ImpostaDimensioniMoti(int n, int m);
};

// Diagonal diffusion: cell [1, k] is the coefficient of X_k's own motion.
class TCoefficientiSD : public TCoefficienti {
    Q_OBJECT
public:
    explicit TCoefficientiSD(QWidget* parent = nullptr);
    void ImpostaDiagonale(int n);
};
