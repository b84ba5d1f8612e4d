// TPianoIterata: the periodic orbit of a map at Lambda: the white graph of the N-th iterate
// (N the period found by the orbit search) and the blue closed cycle, over the yellow graph of
// the map and the red diagonal.
#pragma once

#include <memory>

#include "core/base/Funzione.h"
#include "plot/PianoCartesiano.h"

class TPianoIterata : public TPianoCartesiano {
    Q_OBJECT
public:
    // Periods from 1 to MassimoPeriodo are drawn.
    static constexpr int MassimoPeriodo = 16;

    explicit TPianoIterata(QWidget* parent = nullptr);
    ~TPianoIterata() override;

    // The plane owns the objects it is given and frees the previous ones.
    void SetFunzione(std::unique_ptr<TFunzione> f);
    void SetMultiFunzione(std::unique_ptr<TMultiFunzione> m);
    Extended Lambda() const { return lambda_; }
    void SetLambda(Extended v);  // repaints only on a change

protected:
    void PaintBackground(QImage& bitmap) override;
    void PaintForeground(TRepaintThread& thread) override;

private:
    std::unique_ptr<TFunzione> funzione_;
    std::unique_ptr<TMultiFunzione> multiFunzione_;
    Extended lambda_ = 0;
};
