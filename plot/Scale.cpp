#include "plot/Scale.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

#include <QFontMetrics>
#include <QPainter>

#include "core/base/Conversioni.h"
#include "plot/PianoCartesiano.h"

namespace {

constexpr int Tacca = 3;     // a mark reaches this far on each side of its line
constexpr int Distanza = 5;  // from the line to a label
constexpr int SpazioX = 12;  // least free space between two x labels
constexpr int SpazioY = 6;   // and between two y labels
// Beyond this many steps from zero the marks could no longer be told apart in Extended.
constexpr Extended MassimoPassi = 1e15L;

struct TAsse {
    Extended minimo, ampiezza;
    int lunghezza;                           // pixels
    std::function<int(Extended)> pixel;      // world value to pixel
    std::function<int(const QString&)> misura;  // room a label takes along the axis
    int spazio;
};

// k steps of mantissa * 10^esponente, read from its decimal text so that the mark holds the
// Extended nearest to the decimal value and its label is that decimal.
Extended ValoreTacca(std::int64_t k, int mantissa, int esponente) {
    Extended v = 0;
    TryTextToExtended(std::to_string(k * mantissa) + "E" + std::to_string(esponente), v);
    return v;
}

// The label of n * 10^esponente: fixed notation up to 8 characters, else the shorter of that
// and "2,5E12". Both are the exact decimal, so the text reads back to the mark's value.
QString Etichetta(Extended valore, std::int64_t n, int esponente) {
    const std::string fisso = FloatToStr(valore);
    if (fisso.size() <= 8 || n == 0) return QString::fromStdString(fisso);
    while (n % 10 == 0) {
        n /= 10;
        ++esponente;
    }
    const std::string cifre = std::to_string(n < 0 ? -n : n);
    std::string scientifico = n < 0 ? "-" : "";
    scientifico += cifre[0];
    if (cifre.size() > 1) scientifico += DecimalSeparator() + cifre.substr(1);
    scientifico += "E" + std::to_string(esponente + static_cast<int>(cifre.size()) - 1);
    return QString::fromStdString(scientifico.size() < fisso.size() ? scientifico : fisso);
}

// The marks of the first 1-2-5 step, from fine to coarse, whose labels leave room between them.
std::vector<TTacca> Tacche(const TAsse& asse) {
    if (asse.lunghezza <= 0 || !(asse.ampiezza > 0) || !std::isfinite(asse.minimo)) return {};
    const Extended massimo = asse.minimo + asse.ampiezza;
    const Extended perPixel = asse.ampiezza / asse.lunghezza;
    const int minimoPixel = asse.misura("0") + asse.spazio;
    int esponente = static_cast<int>(std::floor(std::log10(perPixel * minimoPixel)));
    for (int decade = 0; decade < 4; ++decade, ++esponente) {
        for (int mantissa : {1, 2, 5}) {
            const Extended passo = mantissa * std::pow(10.0L, Extended(esponente));
            const Extended distanza = passo / perPixel;
            if (distanza < minimoPixel) continue;
            const Extended primo = std::ceil(asse.minimo / passo);
            const Extended ultimo = std::floor(massimo / passo);
            if (std::fabs(primo) > MassimoPassi || std::fabs(ultimo) > MassimoPassi) return {};
            std::vector<TTacca> tacche;
            int piuLarga = 0;
            for (auto k = static_cast<std::int64_t>(primo); k <= static_cast<std::int64_t>(ultimo);
                 ++k) {
                const Extended v = ValoreTacca(k, mantissa, esponente);
                const QString testo = Etichetta(v, k * mantissa, esponente);
                piuLarga = std::max(piuLarga, asse.misura(testo));
                tacche.push_back({v, asse.pixel(v), testo, QRect()});
            }
            if (distanza >= piuLarga + asse.spazio) return tacche;
        }
    }
    return {};
}

// Clears the labels that would touch one already kept, in order.
void TogliSovrapposte(TScale& scale) {
    std::vector<QRect> tenute;
    for (auto* tacche : {&scale.x, &scale.y})
        for (TTacca& t : *tacche) {
            bool libera = !t.testo.isEmpty();
            for (const QRect& r : tenute)
                libera = libera && !r.adjusted(-2, -2, 2, 2).intersects(t.etichetta);
            if (libera) {
                tenute.push_back(t.etichetta);
            } else {
                t.testo.clear();
                t.etichetta = QRect();
            }
        }
}

}  // namespace

TScale CalcolaScale(const TPianoCartesiano& piano) {
    const QFontMetrics metrica(piano.font());
    const int w = piano.width(), h = piano.height(), alta = metrica.height();
    auto larghezza = [&](const QString& s) { return metrica.horizontalAdvance(s); };
    TScale scale;
    scale.x = Tacche({piano.MinX(), piano.DX(), w, [&](Extended v) { return piano.XToPixel(v); },
                      larghezza, SpazioX});
    scale.y = Tacche({piano.MinY(), piano.DY(), h, [&](Extended v) { return piano.YToPixel(v); },
                      [&](const QString&) { return alta; }, SpazioY});

    // The marks sit on the axes when they are in view, along the bottom and left edges otherwise.
    const int y0 = piano.YToPixel(0), x0 = piano.XToPixel(0);
    const bool asseX = y0 >= 0 && y0 < h, asseY = x0 >= 0 && x0 < w;
    scale.rigaX = asseX ? y0 : h - 1;
    scale.colonnaY = asseY ? x0 : 0;
    int sopra = scale.rigaX + Distanza;  // labels under the line if they fit, else above it
    if (!asseX || sopra + alta > h) sopra = scale.rigaX - Distanza - alta;
    for (TTacca& t : scale.x) {
        const int lw = larghezza(t.testo);
        t.etichetta = QRect(std::clamp(t.pixel - lw / 2, 0, std::max(w - lw, 0)), sopra, lw, alta);
    }
    for (TTacca& t : scale.y) {
        // Zero at the crossing of both axes is labelled once, by the x scale.
        if (asseX && asseY && t.valore == 0) {
            t.testo.clear();
            continue;
        }
        const int lw = larghezza(t.testo);
        int sinistra = scale.colonnaY + Distanza;
        if (sinistra + lw > w) sinistra = scale.colonnaY - Distanza - lw;
        t.etichetta = QRect(sinistra, std::clamp(t.pixel - alta / 2, 0, std::max(h - alta, 0)),
                            lw, alta);
    }
    TogliSovrapposte(scale);
    return scale;
}

void DisegnaScale(QPainter& painter, const TPianoCartesiano& piano) {
    const TScale scale = CalcolaScale(piano);
    painter.save();
    painter.setFont(piano.font());
    painter.setPen(QColor::fromRgb(ColoreScale));
    for (const TTacca& t : scale.x)
        painter.drawLine(t.pixel, scale.rigaX - Tacca, t.pixel, scale.rigaX + Tacca);
    for (const TTacca& t : scale.y)
        painter.drawLine(scale.colonnaY - Tacca, t.pixel, scale.colonnaY + Tacca, t.pixel);
    // A black outline keeps the numbers readable over the data and any background.
    for (const auto* tacche : {&scale.x, &scale.y})
        for (const TTacca& t : *tacche) {
            if (t.testo.isEmpty()) continue;
            painter.setPen(Qt::black);
            for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
                painter.drawText(t.etichetta.translated(d), Qt::AlignCenter, t.testo);
            painter.setPen(QColor::fromRgb(ColoreScale));
            painter.drawText(t.etichetta, Qt::AlignCenter, t.testo);
        }
    painter.restore();
}

const QImage& TCacheScale::Immagine(const TPianoCartesiano& piano) {
    const std::array<Extended, 4> estensione{piano.Estensione(0), piano.Estensione(1),
                                             piano.Estensione(2), piano.Estensione(3)};
    if (immagine_.size() != piano.size() || estensione != estensione_ ||
        separatore_ != DecimalSeparator() || font_ != piano.font()) {
        immagine_ = QImage(piano.size(), QImage::Format_ARGB32_Premultiplied);
        immagine_.fill(Qt::transparent);
        QPainter painter(&immagine_);
        DisegnaScale(painter, piano);
        estensione_ = estensione;
        separatore_ = DecimalSeparator();
        font_ = piano.font();
    }
    return immagine_;
}
