#include "plot/PianoIterazione.h"

#include <cmath>

#include "core/base/Exception.h"

TPianoIterazione::TPianoIterazione(QWidget* parent) : TPianoCartesiano(parent) {}

TPianoIterazione::~TPianoIterazione() { StopRepaint(); }

void TPianoIterazione::SetFunzione(std::unique_ptr<TFunzione> f) {
    StopRepaint();
    funzione_ = std::move(f);
    Invalida();
}

template <class T>
void TPianoIterazione::Imposta(T& campo, T valore) {
    if (valore == campo) return;
    StopRepaint();
    campo = valore;
    Invalida();
}

void TPianoIterazione::SetSeed(Extended v) { Imposta(seed_, v); }
void TPianoIterazione::SetSkip(int v) { Imposta(skip_, v); }
void TPianoIterazione::SetIterazioni(int v) { Imposta(iterazioni_, v); }

void TPianoIterazione::PaintBackground(QImage& bitmap) {
    TPianoCartesiano::PaintBackground(bitmap);
    if (funzione_) {
        const TClipArea clip = ClipArea();
        for (int px = clip.left; px <= clip.right; ++px) {
            const std::optional<int> py = RigaDi(*funzione_, PixelToX(px));
            if (py) TracciaPunto(bitmap, px, *py, qRgb(255, 255, 0));
        }
    }
    DisegnaDiagonale(bitmap);
}

void TPianoIterazione::PaintForeground(TRepaintThread& thread) {
    if (!funzione_) return;
    // A failing or overflowing evaluation, or the cancellation, ends the cobweb; what was
    // drawn stays.
    try {
        Extended x = seed_;
        for (int i = 0; i < skip_; ++i) {
            thread.ControllaTerminazione();
            x = funzione_->Valore(x);
        }
        TPenna penna{qRgb(0, 0, 255)};
        penna.MoveTo(QPoint(XToPixel(x), YToPixel(0)));
        for (long long k = 0; k <= iterazioni_; ++k) {
            thread.ControllaTerminazione();
            const Extended y = funzione_->Valore(x);
            if (!std::isfinite(y)) break;
            TRepaintThread::Passo passo(thread);
            penna.LineTo(passo.Tela(), QPoint(XToPixel(x), YToPixel(y)));
            x = y;
            penna.LineTo(passo.Tela(), QPoint(XToPixel(x), YToPixel(y)));
        }
    } catch (...) {
    }
}
