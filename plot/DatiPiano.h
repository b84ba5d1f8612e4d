// What a plane draws, as a table of world values: for fitting the view to the data, for the
// data export (CSV) and for the vector picture (SVG).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/base/Extended.h"

class QPainter;
class TPianoCartesiano;

struct TDatiPiano {
    // Curve: column 0 is the abscissa, every other column a curve (joined row to row) or a
    // cloud (points), NaN where it has no value. Fase: columns t, X, Y of the phase curve.
    enum class TForma { Curve, Fase };
    TForma forma = TForma::Curve;
    std::vector<std::string> intestazione;
    std::vector<bool> punti;  // per column: drawn as points, not joined
    std::vector<std::vector<Extended>> righe;
};

// The view that holds every finite value with a margin of 5 % of the range on each side:
// MinX, DX, MinY, DY; nothing when the table has no finite point.
std::optional<std::array<Extended, 4>> EstensioneAdattata(const TDatiPiano& dati);
// Header line and one line per row, '.' decimals, shortest text that reads back exactly;
// an empty field where a column has no value.
std::string TestoCsv(const TDatiPiano& dati);
// The plane as lines and points in its pixel coordinates: background, axes, and the data in
// the planes' colours. For the vector picture; the screen shows the canvas.
void DisegnaDati(QPainter& painter, const TPianoCartesiano& piano, const TDatiPiano& dati);
