// TIterazioneChild: the cobweb of the engine's map at the slider's lambda, with the seed and
// iteration counts of its "&Iterazione" > "&Parametri..." menu.
#pragma once

#include "plot/PianoIterazione.h"
#include "ui/widgets/BarraLambda.h"
#include "ui/frame/MenuFiglio.h"
#include "ui/windows/UComunePiano.h"

class TBifurcation;

class TIterazioneChild : public TComunePiano, public IMenuFiglio {
    Q_OBJECT
public:
    // The engine owns the window and outlives it.
    explicit TIterazioneChild(TBifurcation& motore, QWidget* parent = nullptr);

    TPianoIterazione* PianoIterazione1() const { return piano_; }
    TBarraLambda* TrackBar1() const { return barra_; }
    QList<Voce> MenuFiglio() const override;
    void Parametri1Click();

private:
    TBifurcation& motore_;
    TBarraLambda* barra_;
    TPianoIterazione* piano_;
    QMenu* iterazione1_;
};
