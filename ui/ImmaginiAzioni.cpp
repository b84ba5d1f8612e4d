#include "ui/ImmaginiAzioni.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int Lato = 16;

// Two thirds of a circle ending in an arrow head: compute again.
void DisegnaRicalcola(QPainter& p) {
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.drawArc(QRectF(3, 3, 10, 10), 90 * 16, 270 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 128, 0));
    p.drawPolygon(QPolygonF({QPointF(8, 0), QPointF(12, 3), QPointF(8, 6)}));
}

// A sheet with a folded corner: a new system.
void DisegnaNuovo(QPainter& p) {
    QPainterPath foglio;
    foglio.moveTo(3, 1);
    foglio.lineTo(10, 1);
    foglio.lineTo(13, 4);
    foglio.lineTo(13, 15);
    foglio.lineTo(3, 15);
    foglio.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(foglio);
    p.drawPolyline(QPolygonF({QPointF(10, 1), QPointF(10, 4), QPointF(13, 4)}));
    p.setPen(QPen(QColor(0, 0, 160), 1));
    for (int y = 7; y <= 12; y += 2) p.drawLine(5, y, 11, y);
}

// A red square: stop.
void DisegnaInterrompi(QPainter& p) {
    p.setPen(QPen(QColor(128, 0, 0), 1));
    p.setBrush(QColor(210, 0, 0));
    p.drawRect(QRectF(3.5, 3.5, 9, 9));
}

}  // namespace

QIcon ImmagineAzione(TImmagineAzione immagine) {
    QPixmap pixmap(Lato, Lato);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (immagine) {
        case TImmagineAzione::Ricalcola: DisegnaRicalcola(p); break;
        case TImmagineAzione::NuovoSistema: DisegnaNuovo(p); break;
        case TImmagineAzione::Interrompi: DisegnaInterrompi(p); break;
    }
    return QIcon(pixmap);
}
