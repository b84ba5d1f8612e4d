#include "plot/PianoFasi.h"

#include <cmath>

#include "core/base/Exception.h"

TPianoFasi::TPianoFasi(QWidget* parent) : TPianoCartesiano(parent) {
    ImpostaEstensione({-10, 20, MinY(), DY()});
}

TPianoFasi::~TPianoFasi() { StopRepaint(); }

void TPianoFasi::SetFunzioneX(std::unique_ptr<TFunzione> f) {
    StopRepaint();
    funzioneX_ = std::move(f);
    Invalida();
}

void TPianoFasi::SetFunzioneY(std::unique_ptr<TFunzione> f) {
    StopRepaint();
    funzioneY_ = std::move(f);
    Invalida();
}

void TPianoFasi::SetTempi(Extended inizio, Extended fine, Extended passo) {
    StopRepaint();
    inizio_ = inizio;
    fine_ = fine;
    passo_ = passo;
    Invalida();
}

// The point of the curve at time t; a value that is not finite fails like an evaluation.
QPoint TPianoFasi::Punto(Extended t) const {
    const Extended x = funzioneX_->Valore(t);
    const Extended y = funzioneY_->Valore(t);
    if (!std::isfinite(x) || !std::isfinite(y)) throw Exception("Invalid argument!");
    return QPoint(XToPixel(x), YToPixel(y));
}

void TPianoFasi::PaintForeground(TRepaintThread& thread) {
    if (!funzioneX_ || !funzioneY_) return;
    // The first failure, a cancellation included, ends the drawing; the part drawn stays.
    try {
        TPenna penna;
        Extended t = inizio_;
        penna.MoveTo(Punto(t));
        t += passo_;
        while (t < fine_) {
            thread.ControllaTerminazione();
            const Extended quota = 255 * (fine_ - t) / (fine_ - inizio_);
            const int g = quota >= 255 ? 255 : quota > 0 ? static_cast<int>(quota) : 0;
            const QPoint p = Punto(t);
            penna.colore = qRgb(255, g, 0);
            TRepaintThread::Passo passo(thread);
            penna.LineTo(passo.Tela(), p);
            t += passo_;
        }
    } catch (...) {
    }
}

std::optional<TDatiPiano> TPianoFasi::Dati(const std::atomic<bool>& ferma) {
    if (!funzioneX_ || !funzioneY_) return std::nullopt;
    // A step that never reaches Fine is cut here.
    constexpr int MassimoRighe = 1 << 20;
    TDatiPiano dati;
    dati.forma = TDatiPiano::TForma::Fase;
    dati.intestazione = {funzioneX_->Variabile(), funzioneX_->Nome(), funzioneY_->Nome()};
    dati.punti.assign(3, false);
    try {
        Extended t = inizio_;
        for (int n = 0; n < MassimoRighe && (n == 0 || t < fine_); ++n, t += passo_) {
            if (ferma.load(std::memory_order_relaxed)) return std::nullopt;
            const Extended x = funzioneX_->Valore(t), y = funzioneY_->Valore(t);
            if (!std::isfinite(x) || !std::isfinite(y)) break;
            dati.righe.push_back({t, x, y});
        }
    } catch (...) {
    }
    return dati;
}
