// TSizePianoCartesiano: the panel under a plane that shows its four extents in spin edits and
// moves or rescales the plane when one is edited; a mouse zoom or pan updates the edits.
#pragma once

#include <array>

#include <QPointer>
#include <QWidget>

#include "plot/PianoCartesiano.h"

class QLabel;
class TFloatSpinEdit;

class TSizePianoCartesiano : public QWidget {
    Q_OBJECT
public:
    explicit TSizePianoCartesiano(QWidget* parent = nullptr);

    TPianoCartesiano* PianoCartesiano() const { return piano_; }
    // Loads the plane's extents into the edits and follows its mouse changes; nullptr shows
    // 0 in every edit and unbinds the edits.
    void SetPianoCartesiano(TPianoCartesiano* piano);
    // Edit i shows extent i (0 MinX, 1 DX, 2 MinY, 3 DY).
    TFloatSpinEdit* Edit(int indice) const { return edits_.at(static_cast<std::size_t>(indice)); }
    // Reloads the four edits from the plane.
    void Aggiorna();

private:
    void EditChange(int indice);

    QPointer<TPianoCartesiano> piano_;
    std::array<TFloatSpinEdit*, 4> edits_{};
};
