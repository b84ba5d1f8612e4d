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

// Narrows the segment a-b to its part inside a w x h image, ends rounded to pixels; false when
// nothing of it is inside.
bool Ritaglia(int w, int h, QPoint& a, QPoint& b) {
    const double x0 = a.x(), y0 = a.y(), dx = b.x() - x0, dy = b.y() - y0;
    double t0 = 0, t1 = 1;
    const double xMax = w - 1, yMax = h - 1;
    if (!Taglia(-dx, x0, t0, t1) || !Taglia(dx, xMax - x0, t0, t1) ||
        !Taglia(-dy, y0, t0, t1) || !Taglia(dy, yMax - y0, t0, t1))
        return false;
    a = QPoint(static_cast<int>(std::lround(x0 + t0 * dx)),
               static_cast<int>(std::lround(y0 + t0 * dy)));
    b = QPoint(static_cast<int>(std::lround(x0 + t1 * dx)),
               static_cast<int>(std::lround(y0 + t1 * dy)));
    return true;
}

bool Dentro(QPoint p, int w, int h) {
    return static_cast<unsigned>(p.x()) < static_cast<unsigned>(w) &&
           static_cast<unsigned>(p.y()) < static_cast<unsigned>(h);
}

}  // namespace

void TracciaPunto(QImage& immagine, int x, int y, QRgb c) {
    if (x >= 0 && y >= 0 && x < immagine.width() && y < immagine.height())
        reinterpret_cast<QRgb*>(immagine.scanLine(y))[x] = c;
}

void TracciaSegmento(QImage& immagine, QPoint a, QPoint b, QRgb c) {
    // A curve's segments nearly always lie inside the image: their pixel ends need no
    // clipping, and the loop below runs on them in integers alone.
    const int w = immagine.width(), h = immagine.height();
    if (!(Dentro(a, w, h) && Dentro(b, w, h)) && !Ritaglia(w, h, a, b)) return;
    int x = a.x(), y = a.y();
    const int xFine = b.x(), yFine = b.y();
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
