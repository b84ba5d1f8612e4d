// TSperanzaChild: the statistics window. After each completed path it evaluates its function
// of the state at its instant and shows the count, mean and variance of the values so far.
#pragma once

#include <memory>
#include <vector>

#include "core/formula/RPNCompiler.h"
#include "core/stats/Distribuzione.h"
#include "ui/windows/UComune.h"

class QCheckBox;
class QLabel;
class QPushButton;

class TSperanzaChild : public TComune {
    Q_OBJECT
public:
    explicit TSperanzaChild(QWidget* parent = nullptr);

    // The instant t and the number n of components; the function may name x0 ... xn.
    void ImpostaIstante(int n, Extended t);
    // Component k (1 ... n) of the path; the window owns it. "Invalid argument!" otherwise.
    void SetComponente(int k, std::unique_ptr<TFunzione> f);
    Extended Istante() const { return istante_; }

    TRPNCompiler& RPNCompiler1() { return compilatore_; }
    const TDistribuzione& Distribuzione1() const { return distribuzione_; }
    // Continues a sample gathered earlier.
    void SetDistribuzione(const TDistribuzione& d);
    QLabel* Funzione() const { return funzione_; }
    QLabel* Media() const { return media_; }
    QLabel* Varianza() const { return varianza_; }
    QLabel* Osservazioni() const { return osservazioni_; }
    QCheckBox* Continuo() const { return continuo_; }
    QPushButton* Button1() const { return azzera_; }

    // Adds the function's value on the path just computed; an instant outside the grid
    // raises "Out of range!" and adds nothing.
    void SistemaAggiornato(TSistema& sender) override;
    void AggiornaStatistiche();

private:
    QLabel* funzione_;
    QLabel* media_;
    QLabel* varianza_;
    QLabel* osservazioni_;
    QCheckBox* continuo_;
    QPushButton* azzera_;
    TRPNCompiler compilatore_;
    TDistribuzione distribuzione_;
    std::vector<std::unique_ptr<TFunzione>> componenti_;
    std::vector<Extended10> valori_;  // x0 = the instant, x1 ... xn the components
    Extended istante_ = 0;
};
