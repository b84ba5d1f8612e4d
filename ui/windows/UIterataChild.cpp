#include "ui/windows/UIterataChild.h"

#include "core/discrete/Bifurcation.h"

TIterataChild::TIterataChild(TBifurcation& motore, QWidget* parent)
    : TComunePiano(parent), motore_(motore), barra_(new TBarraLambda(this)),
      piano_(new TPianoIterata(this)) {
    setWindowTitle("Piano dell'iterata");
    piano_->setObjectName("PianoIterata1");
    AggiungiSopraPiano(barra_);
    SetPiano(piano_);
    barra_->SetOnChange([this](Extended lambda) {
        piano_->SetFunzione(motore_.CreaIterazione(lambda));
        piano_->SetLambda(lambda);
    });
}
