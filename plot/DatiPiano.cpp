#include "plot/DatiPiano.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "plot/PianoCartesiano.h"

namespace {

struct TIntervallo {
    Extended minimo = INFINITY, massimo = -INFINITY;
    void Aggiungi(Extended v) {
        minimo = std::min(minimo, v);
        massimo = std::max(massimo, v);
    }
    bool Vuoto() const { return !(minimo <= massimo); }
    // Start and width with 5 % of the range on each side; a single value gets a range of
    // a tenth of its size (1 at zero).
    std::array<Extended, 2> ConMargine() const {
        Extended a = minimo, b = massimo;
        if (a == b) {
            const Extended meta = a == 0 ? 0.5L : std::fabs(a) * 0.05L;
            a -= meta;
            b += meta;
        }
        const Extended margine = (b - a) * 0.05L;
        return {a - margine, b - a + 2 * margine};
    }
};

bool Finito(Extended v) { return std::isfinite(v); }

std::string Campo(const std::string& testo) {
    if (testo.find_first_of(",\"\n") == std::string::npos) return testo;
    std::string out = "\"";
    for (char c : testo) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

}  // namespace

std::optional<std::array<Extended, 4>> EstensioneAdattata(const TDatiPiano& dati) {
    TIntervallo x, y;
    for (const std::vector<Extended>& riga : dati.righe) {
        if (dati.forma == TDatiPiano::TForma::Fase) {
            if (riga.size() < 3 || !Finito(riga[1]) || !Finito(riga[2])) continue;
            x.Aggiungi(riga[1]);
            y.Aggiungi(riga[2]);
            continue;
        }
        if (riga.empty() || !Finito(riga[0])) continue;
        for (std::size_t c = 1; c < riga.size(); ++c)
            if (Finito(riga[c])) {
                x.Aggiungi(riga[0]);
                y.Aggiungi(riga[c]);
            }
    }
    if (x.Vuoto() || y.Vuoto()) return std::nullopt;
    const auto [minX, dx] = x.ConMargine();
    const auto [minY, dy] = y.ConMargine();
    if (!Finito(dx) || !Finito(dy) || !(dx > 0) || !(dy > 0)) return std::nullopt;
    return std::array<Extended, 4>{minX, dx, minY, dy};
}

std::string TestoCsv(const TDatiPiano& dati) {
    std::string testo;
    for (std::size_t c = 0; c < dati.intestazione.size(); ++c)
        testo += (c ? "," : "") + Campo(dati.intestazione[c]);
    testo += '\n';
    for (const std::vector<Extended>& riga : dati.righe) {
        for (std::size_t c = 0; c < riga.size(); ++c) {
            if (c) testo += ',';
            // Shortest text that reads back exactly, '.' whatever the screen shows.
            char campo[64];
            if (!std::isnan(riga[c]))
                testo.append(campo, std::to_chars(campo, campo + sizeof campo, riga[c]).ptr);
        }
        testo += '\n';
    }
    return testo;
}

void DisegnaDati(QPainter& painter, const TPianoCartesiano& piano, const TDatiPiano& dati) {
    // The plane's mapping without the rounding to whole pixels.
    const double w = piano.width(), h = piano.height();
    auto punto = [&](Extended x, Extended y) {
        return QPointF(double(w * (x - piano.MinX()) / piano.DX()),
                       double(h - h * (y - piano.MinY()) / piano.DY()));
    };
    painter.save();
    painter.setClipRect(QRectF(0, 0, w, h));
    painter.fillRect(QRectF(0, 0, w, h), piano.Colore());
    painter.setPen(QPen(Qt::black, 1));
    const QPointF origine = punto(0, 0);
    painter.drawLine(QPointF(0, origine.y()), QPointF(w, origine.y()));
    painter.drawLine(QPointF(origine.x(), 0), QPointF(origine.x(), h));
    painter.setBrush(Qt::NoBrush);
    if (dati.forma == TDatiPiano::TForma::Fase) {
        // Yellow at the start to red at the end, one path per shade.
        const auto& righe = dati.righe;
        const Extended inizio = righe.empty() ? 0 : righe.front()[0];
        const Extended fine = righe.empty() ? 0 : righe.back()[0];
        QPainterPath tratto;
        int verde = -1;
        for (std::size_t i = 1; i < righe.size(); ++i) {
            const Extended quota =
                fine > inizio ? 255 * (fine - righe[i][0]) / (fine - inizio) : 0;
            const int g = std::clamp(static_cast<int>(quota), 0, 255);
            if (g != verde && !tratto.isEmpty()) {
                painter.setPen(QPen(QColor(255, verde, 0), 1));
                painter.drawPath(tratto);
                tratto = QPainterPath();
            }
            verde = g;
            if (tratto.isEmpty()) tratto.moveTo(punto(righe[i - 1][1], righe[i - 1][2]));
            tratto.lineTo(punto(righe[i][1], righe[i][2]));
        }
        if (!tratto.isEmpty()) {
            painter.setPen(QPen(QColor(255, verde, 0), 1));
            painter.drawPath(tratto);
        }
        painter.restore();
        return;
    }
    for (std::size_t c = 1; c < dati.intestazione.size(); ++c) {
        const bool punti = c < dati.punti.size() && dati.punti[c];
        painter.setPen(QPen(punti ? Qt::white : QColor(255, 255, 0), 1));
        QPainterPath curva;
        bool giu = false;
        for (const std::vector<Extended>& riga : dati.righe) {
            const bool definito = c < riga.size() && Finito(riga[0]) && Finito(riga[c]);
            if (punti && definito) painter.drawPoint(punto(riga[0], riga[c]));
            if (punti) continue;
            if (!definito) {
                giu = false;
                continue;
            }
            if (giu)
                curva.lineTo(punto(riga[0], riga[c]));
            else
                curva.moveTo(punto(riga[0], riga[c]));
            giu = true;
        }
        if (!punti) painter.drawPath(curva);
    }
    painter.restore();
}
