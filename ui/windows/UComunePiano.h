// TComunePiano: a system window that shows a plane, with the mouse-tool bar above it and the
// extent editor below; each notification of new paths repaints the plane. Its context menu
// copies or saves the picture (PNG or SVG), exports the data (CSV), fits the view and shows the
// scales.
#pragma once

#include "plot/PianoCartesiano.h"
#include "ui/windows/UComune.h"

class QMenu;
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

    // The plane's context menu and what it offers.
    QMenu* MenuPiano() const { return menuPiano_; }
    void CopiaImmagine();
    void SalvaImmagine();  // asks for the file
    // An SVG for a name ending in ".svg", else a PNG. The vector picture and the data wait
    // for the plane's table; FileScritto tells the end, a failure is also shown.
    void SalvaImmagineIn(const QString& file);
    void EsportaDati();  // asks for the file
    // The plane's data as CSV.
    void EsportaDatiIn(const QString& file);

signals:
    void FileScritto(const QString& file, bool riuscito);

protected:
    // Called once by the subclass at creation: the plane fills the space between the bars.
    void SetPiano(TPianoCartesiano* piano);
    // A control of the subclass between the tool bar and the plane.
    void AggiungiSopraPiano(QWidget* controllo);

private:
    void CreaMenuPiano();
    void Concludi(const QString& file, bool riuscito);

    TPianoCartesiano* piano_ = nullptr;
    QMenu* menuPiano_ = nullptr;
    QToolBar* toolBar_;
    TSizePianoCartesiano* size_;
    QVBoxLayout* layout_;
};
