#include "ui/frame/ImmaginiAzioni.h"

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

// A magnifying glass with + (zoom) or - (zoom out) in its lens.
void DisegnaLente(QPainter& p, bool piu) {
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(220, 240, 255));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(QColor(120, 70, 20), 3));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
    if (piu) p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
}

// Four arrows from the centre: move the view.
void DisegnaSposta(QPainter& p) {
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.drawLine(QPointF(8, 1.5), QPointF(8, 14.5));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 128));
    p.drawPolygon(QPolygonF({QPointF(8, 0), QPointF(11, 4), QPointF(5, 4)}));
    p.drawPolygon(QPolygonF({QPointF(8, 16), QPointF(11, 12), QPointF(5, 12)}));
    p.drawPolygon(QPolygonF({QPointF(0, 8), QPointF(4, 5), QPointF(4, 11)}));
    p.drawPolygon(QPolygonF({QPointF(16, 8), QPointF(12, 5), QPointF(12, 11)}));
}

// The plain mouse pointer: no tool.
void DisegnaPuntatore(QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(4, 1), QPointF(4, 13), QPointF(7, 10), QPointF(9.5, 15),
                             QPointF(11.5, 14), QPointF(9, 9), QPointF(13, 9)}));
}

template <class Disegna>
QIcon Icona(Disegna disegna) {
    QPixmap pixmap(Lato, Lato);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    disegna(p);
    return QIcon(pixmap);
}

}  // namespace

QIcon ImmagineAzione(TImmagineAzione immagine) {
    return Icona([immagine](QPainter& p) {
        switch (immagine) {
            case TImmagineAzione::Ricalcola: DisegnaRicalcola(p); break;
            case TImmagineAzione::NuovoSistema: DisegnaNuovo(p); break;
            case TImmagineAzione::Interrompi: DisegnaInterrompi(p); break;
        }
    });
}

QIcon ImmagineStrumento(TImmagineStrumento immagine) {
    return Icona([immagine](QPainter& p) {
        switch (immagine) {
            case TImmagineStrumento::Move: DisegnaSposta(p); break;
            case TImmagineStrumento::ZoomInverso: DisegnaLente(p, false); break;
            case TImmagineStrumento::Zoom: DisegnaLente(p, true); break;
            case TImmagineStrumento::Nessuno: DisegnaPuntatore(p); break;
        }
    });
}

QIcon IconaProgramma() { return QIcon(":/vantor.svg"); }
