#include "plot/Segmento.h"

#include <cmath>
#include <cstdlib>

namespace {

// Liang-Barsky: narrows [t0, t1] to where p*t <= q; false when nothing is left.
bool Taglia(double p, double q, double& t0, double& t1) {
    if (p == 0) return q >= 0;
    const double r = q / p;
    if (p < 0) {
        if (r > t1) return false;
        if (r > t0) t0 = r;
    } else {
        if (r < t0) return false;
        if (r < t1) t1 = r;
    }
    return true;
}

}  // namespace

void TracciaPunto(QImage& immagine, int x, int y, QRgb c) {
    if (x >= 0 && y >= 0 && x < immagine.width() && y < immagine.height())
        reinterpret_cast<QRgb*>(immagine.scanLine(y))[x] = c;
}

void TracciaSegmento(QImage& immagine, QPoint a, QPoint b, QRgb c) {
    const double x0 = a.x(), y0 = a.y(), dx = b.x() - x0, dy = b.y() - y0;
    double t0 = 0, t1 = 1;
    const double xMax = immagine.width() - 1, yMax = immagine.height() - 1;
    if (!Taglia(-dx, x0, t0, t1) || !Taglia(dx, xMax - x0, t0, t1) ||
        !Taglia(-dy, y0, t0, t1) || !Taglia(dy, yMax - y0, t0, t1))
        return;
    // Bresenham between the ends of the visible part, which lie inside the image.
    int x = static_cast<int>(std::lround(x0 + t0 * dx));
    int y = static_cast<int>(std::lround(y0 + t0 * dy));
    const int xFine = static_cast<int>(std::lround(x0 + t1 * dx));
    const int yFine = static_cast<int>(std::lround(y0 + t1 * dy));
    const int passiX = std::abs(xFine - x), passiY = -std::abs(yFine - y);
    const int sx = x < xFine ? 1 : -1, sy = y < yFine ? 1 : -1;
    uchar* bits = immagine.bits();
    const qsizetype riga = immagine.bytesPerLine();
    for (int errore = passiX + passiY;;) {
        reinterpret_cast<QRgb*>(bits + y * riga)[x] = c;
        if (x == xFine && y == yFine) break;
        const int doppio = 2 * errore;
        if (doppio >= passiY) {
            errore += passiY;
            x += sx;
        }
        if (doppio <= passiX) {
            errore += passiX;
            y += sy;
        }
    }
}
