#include "plot/PianoTraiettorie.h"

#include <cmath>
#include <limits>

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
    const TClipArea clip = ClipArea();
    std::vector<Extended> ascisse;  // computed once for all the curves
    for (int px = clip.left; px <= clip.right; ++px) ascisse.push_back(PixelToX(px));
    std::vector<Extended> buffer(PuntiPerColonna);
    for (const auto& f : funzioni_) DisegnaCurva(thread, *f, ascisse);
    for (const auto& m : multiFunzioni_) DisegnaNuvola(thread, *m, ascisse, buffer);
}

void TPianoTraiettorie::DisegnaCurva(TRepaintThread& thread, TFunzione& f,
                                     const std::vector<Extended>& ascisse) {
    const int sinistra = ClipArea().left;
    TPenna penna{qRgb(255, 255, 0)};
    for (std::size_t i = 0; i < ascisse.size(); ++i) {
        thread.ControllaTerminazione();
        const std::optional<int> py = RigaDi(f, ascisse[i]);
        if (!py) {
            penna.Alza();
            continue;
        }
        TRepaintThread::Passo passo(thread);
        penna.Traccia(passo.Tela(), QPoint(sinistra + static_cast<int>(i), *py));
    }
}

void TPianoTraiettorie::DisegnaNuvola(TRepaintThread& thread, TMultiFunzione& m,
                                      const std::vector<Extended>& ascisse,
                                      std::vector<Extended>& buffer) {
    const int sinistra = ClipArea().left;
    for (std::size_t i = 0; i < ascisse.size(); ++i) {
        thread.ControllaTerminazione();
        int count = PuntiPerColonna;
        try {
            m.Valori(count, buffer.data(), ascisse[i]);
        } catch (...) {
            continue;
        }
        if (count <= 0 || !std::isfinite(buffer[0])) continue;
        count = std::min(count, PuntiPerColonna);
        const int px = sinistra + static_cast<int>(i);
        TRepaintThread::Passo passo(thread);
        for (int k = 0; k < count; ++k)
            TracciaPunto(passo.Tela(), px, YToPixel(buffer[k]), qRgb(255, 255, 255));
    }
}

std::optional<TDatiPiano> TPianoTraiettorie::Dati(const std::atomic<bool>& ferma) {
    if (funzioni_.empty() && multiFunzioni_.empty()) return std::nullopt;
    constexpr Extended nessuno = std::numeric_limits<Extended>::quiet_NaN();
    TDatiPiano dati;
    std::vector<Extended> ascisse;
    for (const auto& f : funzioni_)
        if (const std::optional<TGriglia> g = f->Griglia()) {
            for (int i = 0; i < g->punti; ++i)
                if (const Extended t = g->inizio + i * g->passo; g->inizio <= t && t <= g->fine)
                    ascisse.push_back(t);
            dati.intestazione.push_back(f->Variabile());
            break;
        }
    if (dati.intestazione.empty()) {
        for (int px = 0; px < width(); ++px) ascisse.push_back(PixelToX(px));
        dati.intestazione.push_back(funzioni_.empty() ? multiFunzioni_.front()->Variabile()
                                                      : funzioni_.front()->Variabile());
    }
    for (const auto& f : funzioni_) dati.intestazione.push_back(f->Nome());
    for (const auto& m : multiFunzioni_) dati.intestazione.push_back(m->Nome());
    dati.punti.assign(dati.intestazione.size(), false);
    std::fill(dati.punti.end() - static_cast<std::ptrdiff_t>(multiFunzioni_.size()),
              dati.punti.end(), true);

    for (const Extended x : ascisse) {
        if (funzioni_.empty()) break;
        if (ferma.load(std::memory_order_relaxed)) return std::nullopt;
        std::vector<Extended>& riga = dati.righe.emplace_back(dati.intestazione.size(), nessuno);
        riga[0] = x;
        for (std::size_t i = 0; i < funzioni_.size(); ++i) try {
                riga[i + 1] = funzioni_[i]->Valore(x);
            } catch (...) {
            }
    }
    std::vector<Extended> buffer(PuntiPerColonna);
    for (std::size_t j = 0; j < multiFunzioni_.size(); ++j)
        for (const Extended x : ascisse) {
            if (ferma.load(std::memory_order_relaxed)) return std::nullopt;
            int count = PuntiPerColonna;
            try {
                multiFunzioni_[j]->Valori(count, buffer.data(), x);
            } catch (...) {
                continue;
            }
            if (count <= 0 || !std::isfinite(buffer[0])) continue;
            for (int i = 0; i < std::min(count, PuntiPerColonna); ++i) {
                std::vector<Extended>& riga =
                    dati.righe.emplace_back(dati.intestazione.size(), nessuno);
                riga[0] = x;
                riga[1 + funzioni_.size() + j] = buffer[static_cast<std::size_t>(i)];
            }
        }
    return dati;
}
