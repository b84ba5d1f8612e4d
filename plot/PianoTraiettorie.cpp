#include "plot/PianoTraiettorie.h"

#include <cmath>

TPianoTraiettorie::TPianoTraiettorie(QWidget* parent) : TPianoCartesiano(parent) {}

TPianoTraiettorie::~TPianoTraiettorie() { StopRepaint(); }

void TPianoTraiettorie::AddFunzione(std::unique_ptr<TFunzione> f) {
    StopRepaint();
    funzioni_.push_back(std::move(f));
    Invalida();
}

void TPianoTraiettorie::AddMultiFunzione(std::unique_ptr<TMultiFunzione> m) {
    StopRepaint();
    multiFunzioni_.push_back(std::move(m));
    Invalida();
}

void TPianoTraiettorie::Clear() {
    StopRepaint();
    funzioni_.clear();
    multiFunzioni_.clear();
    Invalida();
}

void TPianoTraiettorie::PaintForeground(TRepaintThread& thread) {
    std::vector<Extended> buffer(PuntiPerColonna);
    for (const auto& f : funzioni_) DisegnaCurva(thread, *f);
    for (const auto& m : multiFunzioni_) DisegnaNuvola(thread, *m, buffer);
}

void TPianoTraiettorie::DisegnaCurva(TRepaintThread& thread, TFunzione& f) {
    const TClipArea clip = ClipArea();
    TPenna penna{qRgb(255, 255, 0)};
    for (int px = clip.left; px <= clip.right; ++px) {
        thread.ControllaTerminazione();
        const std::optional<int> py = RigaDi(f, PixelToX(px));
        if (!py) {
            penna.Alza();
            continue;
        }
        TRepaintThread::Passo passo(thread);
        penna.Traccia(passo.Tela(), QPoint(px, *py));
    }
}

void TPianoTraiettorie::DisegnaNuvola(TRepaintThread& thread, TMultiFunzione& m,
                                      std::vector<Extended>& buffer) {
    const TClipArea clip = ClipArea();
    for (int px = clip.left; px <= clip.right; ++px) {
        thread.ControllaTerminazione();
        int count = PuntiPerColonna;
        try {
            m.Valori(count, buffer.data(), PixelToX(px));
        } catch (...) {
            continue;
        }
        if (count <= 0 || !std::isfinite(buffer[0])) continue;
        count = std::min(count, PuntiPerColonna);
        TRepaintThread::Passo passo(thread);
        for (int i = 0; i < count; ++i)
            TracciaPunto(passo.Tela(), px, YToPixel(buffer[i]), qRgb(255, 255, 255));
    }
}
