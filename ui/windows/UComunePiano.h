// TComunePiano: a system window that shows a plane, with the mouse-tool bar above it and the
// extent editor below; each notification of new paths repaints the plane. Its context menu
// copies or saves the picture.
#pragma once

#include "plot/PianoCartesiano.h"
#include "ui/windows/UComune.h"

class QToolBar;
class QVBoxLayout;
class TSizePianoCartesiano;

class TComunePiano : public TComune {
    Q_OBJECT
public:
    explicit TComunePiano(QWidget* parent = nullptr);

    TPianoCartesiano* Piano() const { return piano_; }
    QToolBar* ToolBar() const { return toolBar_; }
    // The plane's four extents (MinX, DX, MinY, DY), each set as SetEstensione does, and
    // shown in the editor.
    void SetEstensione(const std::array<Extended, 4>& estensione);
    void SistemaAggiornato(TSistema& sender) override;

    // The picture, as the user asks for it from the plane's context menu.
    void CopiaImmagine();
    void SalvaImmagine();

protected:
    // Called once by the subclass at creation: the plane fills the space between the bars.
    void SetPiano(TPianoCartesiano* piano);
    // A control of the subclass between the tool bar and the plane.
    void AggiungiSopraPiano(QWidget* controllo);

private:
    TPianoCartesiano* piano_ = nullptr;
    QToolBar* toolBar_;
    TSizePianoCartesiano* size_;
    QVBoxLayout* layout_;
};
