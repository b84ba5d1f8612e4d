// TTraiettorieChild: a window whose plane draws path components and typed functions against
// the abscissa; its "Fun&zione" menu adds a function.
#pragma once

#include "plot/PianoTraiettorie.h"
#include "ui/frame/MenuFiglio.h"
#include "ui/windows/UComunePiano.h"

class TTraiettorieChild : public TComunePiano, public IMenuFiglio {
    Q_OBJECT
public:
    explicit TTraiettorieChild(QWidget* parent = nullptr);

    TPianoTraiettorie* PianoTraiettorie1() const { return piano_; }
    QList<Voce> MenuFiglio() const override;

    // "&Aggiungi...": asks for a formula of x0 and adds its curve.
    void Aggiungi1Click();

private:
    TPianoTraiettorie* piano_;
    QMenu* funzione1_;
};
