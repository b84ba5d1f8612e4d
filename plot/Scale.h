// The scales of a plane: tick marks with numbers on both axes, at 1-2-5 steps chosen so that
// no two labels overlap, drawn over the canvas in a colour no data uses.
#pragma once

#include <array>
#include <vector>

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include "core/base/Extended.h"

class QPainter;
class TPianoCartesiano;

struct TTacca {
    Extended valore;
    int pixel;          // column of an x mark, row of a y mark
    QString testo;      // empty when the label would overlap another one
    QRect etichetta;    // where the text goes, inside the plane
};

struct TScale {
    std::vector<TTacca> x, y;
    int rigaX = 0;      // row of the line that carries the x marks: the x axis or the bottom
    int colonnaY = 0;   // column of the line that carries the y marks: the y axis or the left
};

// Cyan with a black outline: apart from the data's yellow, white, red and blue.
inline constexpr QRgb ColoreScale = 0xFF00FFFF;

// The marks for the plane's current extent and size, labels in the plane's font.
TScale CalcolaScale(const TPianoCartesiano& piano);
void DisegnaScale(QPainter& painter, const TPianoCartesiano& piano);

// The scales drawn once into a transparent image and drawn again only when the extent, the
// size, the separator or the font change: a paint of the plane then only copies them.
class TCacheScale {
public:
    const QImage& Immagine(const TPianoCartesiano& piano);

private:
    QImage immagine_;
    std::array<Extended, 4> estensione_{};
    char separatore_ = 0;
    QFont font_;
};
