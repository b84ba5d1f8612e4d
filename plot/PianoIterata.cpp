#include "plot/PianoIterata.h"

#include <array>
#include <cmath>

TPianoIterata::TPianoIterata(QWidget* parent) : TPianoCartesiano(parent) {}

TPianoIterata::~TPianoIterata() { StopRepaint(); }

void TPianoIterata::SetFunzione(std::unique_ptr<TFunzione> f) {
    StopRepaint();
    funzione_ = std::move(f);
    Invalida();
}

void TPianoIterata::SetMultiFunzione(std::unique_ptr<TMultiFunzione> m) {
    StopRepaint();
    multiFunzione_ = std::move(m);
    Invalida();
}

void TPianoIterata::SetLambda(Extended v) {
    if (v == lambda_) return;
    StopRepaint();
    lambda_ = v;
    Invalida();
}

void TPianoIterata::PaintBackground(QImage& bitmap) {
    TPianoCartesiano::PaintBackground(bitmap);
    if (funzione_) {
        const TClipArea clip = ClipArea();
        TPenna penna{qRgb(255, 255, 0)};
        for (int px = clip.left; px <= clip.right; ++px) {
            if (const std::optional<int> py = RigaDi(*funzione_, PixelToX(px)))
                penna.Traccia(bitmap, QPoint(px, *py));
            else
                penna.Alza();
        }
    }
    DisegnaDiagonale(bitmap);
}

void TPianoIterata::PaintForeground(TRepaintThread& thread) {
    if (!funzione_ || !multiFunzione_) return;
    // One more entry closes the cycle.
    std::array<Extended, MassimoPeriodo + 1> orbita{};
    int count = MassimoPeriodo + 1;
    try {
        multiFunzione_->Valori(count, orbita.data(), lambda_);
    } catch (...) {
        return;  // "No period!": only the background
    }
    if (count < 1 || count > MassimoPeriodo || !std::isfinite(orbita[0])) return;

    const TClipArea clip = ClipArea();
    TPenna penna{qRgb(255, 255, 255)};
    for (int px = clip.left; px <= clip.right; ++px) {
        thread.ControllaTerminazione();
        const std::optional<int> py = RigaDi(*funzione_, PixelToX(px), count);
        if (!py) {
            penna.Alza();
            continue;
        }
        TRepaintThread::Passo passo(thread);
        penna.Traccia(passo.Tela(), QPoint(px, *py));
    }

    penna.colore = qRgb(0, 0, 255);
    orbita[static_cast<std::size_t>(count)] = orbita[0];
    penna.MoveTo(QPoint(XToPixel(orbita[0]), YToPixel(orbita[0])));
    for (int i = 0; i < count; ++i) {
        thread.ControllaTerminazione();
        const Extended a = orbita[static_cast<std::size_t>(i)];
        const Extended b = orbita[static_cast<std::size_t>(i) + 1];
        TRepaintThread::Passo passo(thread);
        penna.LineTo(passo.Tela(), QPoint(XToPixel(a), YToPixel(b)));
        penna.LineTo(passo.Tela(), QPoint(XToPixel(b), YToPixel(b)));
    }
}
