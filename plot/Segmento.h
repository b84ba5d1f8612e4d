// Drawing straight onto an image's pixels: one-pixel segments clipped to the image, and single
// points. The planes draw thousands of short segments per repaint; a painter costs more per
// segment than the pixels it sets.
#pragma once

#include <QImage>
#include <QPoint>

// The segment from a to b, both ends included, in colour c; the part outside the image is
// clipped first, so far ends cost nothing. The image is 32 bits per pixel.
void TracciaSegmento(QImage& immagine, QPoint a, QPoint b, QRgb c);
// One pixel; a point outside the image is skipped.
void TracciaPunto(QImage& immagine, int x, int y, QRgb c);
