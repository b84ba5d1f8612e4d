// TSperanzaChild: the statistics window. It observes its function of the state at its
// instant on every completed path and shows the count, mean and variance of the values.
// Threads: Aggiungi runs in the run's worker and Osservazione there too; everything else,
// Unisci and the labels included, in the GUI thread. The sample is guarded by a mutex taken
// once per path.
#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include "core/formula/RPNCompiler.h"
#include "core/stats/Distribuzione.h"
#include "core/system/Osservazione.h"
#include "ui/windows/UComune.h"

class QCheckBox;
class QLabel;
class QPushButton;

class TSperanzaChild : public TComune, public IOsservatorePercorsi {
    Q_OBJECT
public:
    explicit TSperanzaChild(QWidget* parent = nullptr);
    ~TSperanzaChild() override;  // no run observes it any more once it has begun

    // The instant t and the number n of components; the function may name x0 ... xn.
    void ImpostaIstante(int n, Extended t);
    Extended Istante() const { return istante_; }
    // Compiles the function (before the window is bound to its system). A formula that does
    // not compile raises its error once; the window then observes nothing and says so.
    void ImpostaFunzione(const std::string& testo, const QString& descrizione);

    const TRPNCompiler& RPNCompiler1() const { return *compilatore_; }
    TDistribuzione Distribuzione1() const;
    // Continues a sample gathered earlier.
    void SetDistribuzione(const TDistribuzione& d);
    QLabel* Funzione() const { return funzione_; }
    QLabel* Media() const { return media_; }
    QLabel* Varianza() const { return varianza_; }
    QLabel* Osservazioni() const { return osservazioni_; }
    QCheckBox* Continuo() const { return continuo_; }
    QPushButton* Button1() const { return azzera_; }

    // GUI thread, at the pace of the run's notifications: shows the sample as it is now.
    void SistemaAggiornato(TSistema& sender) override;
    void AggiornaStatistiche();

    std::optional<TOsservazione> Osservazione() const override;
    void Aggiungi(Extended valore) override;
    void Unisci(const TAccumulo& campione) override;

protected:
    // A value or function text wider than the window widens it, inside the area.
    bool event(QEvent* event) override;

private:
    QLabel* funzione_;
    QLabel* media_;
    QLabel* varianza_;
    QLabel* osservazioni_;
    QCheckBox* continuo_;
    QPushButton* azzera_;
    // Set once before the window is bound; runs evaluate it, a parallel one maybe after the
    // window has closed.
    std::shared_ptr<TRPNCompiler> compilatore_ = std::make_shared<TRPNCompiler>();
    bool haFunzione_ = false;
    Extended istante_ = 0;
    mutable std::mutex mutex_;  // guards distribuzione_
    TDistribuzione distribuzione_;
};
