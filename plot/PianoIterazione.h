// TPianoIterazione: the cobweb of one orbit of a map y = f(x) over its yellow graph and the red
// diagonal: from Seed, after Skip iterations, Iterazioni + 1 blue steps.
#pragma once

#include <memory>

#include "core/base/Funzione.h"
#include "plot/PianoCartesiano.h"

class TPianoIterazione : public TPianoCartesiano {
    Q_OBJECT
public:
    explicit TPianoIterazione(QWidget* parent = nullptr);
    ~TPianoIterazione() override;

    // The map at the current parameter; the plane owns it and frees the previous one.
    void SetFunzione(std::unique_ptr<TFunzione> f);
    TFunzione* Funzione() const { return funzione_.get(); }
    // Each setter repaints only when the value changes.
    Extended Seed() const { return seed_; }
    void SetSeed(Extended v);
    int Skip() const { return skip_; }
    void SetSkip(int v);
    int Iterazioni() const { return iterazioni_; }
    void SetIterazioni(int v);

protected:
    void PaintBackground(QImage& bitmap) override;
    void PaintForeground(TRepaintThread& thread) override;

private:
    template <class T>
    void Imposta(T& campo, T valore);

    std::unique_ptr<TFunzione> funzione_;
    Extended seed_ = 0.321L;
    int skip_ = 0;
    int iterazioni_ = 100;
};
