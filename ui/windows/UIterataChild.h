// TIterataChild: the periodic orbit of the engine's map at the slider's lambda: the graph of
// the N-th iterate and the closed cycle.
#pragma once

#include "plot/PianoIterata.h"
#include "ui/widgets/BarraLambda.h"
#include "ui/windows/UComunePiano.h"

class TBifurcation;

class TIterataChild : public TComunePiano {
    Q_OBJECT
public:
    // The engine owns the window and outlives it.
    explicit TIterataChild(TBifurcation& motore, QWidget* parent = nullptr);

    TPianoIterata* PianoIterata1() const { return piano_; }
    TBarraLambda* TrackBar1() const { return barra_; }

private:
    TBifurcation& motore_;
    TBarraLambda* barra_;
    TPianoIterata* piano_;
};
