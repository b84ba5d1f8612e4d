// Runs of many paths with plot windows open: 100,000 paths of geometric Brownian motion with
// 100 steps, with no window and with a trajectory and a phase window that are told of every
// path. The windows' repaint requests coalesce, so the run should barely notice them.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "bench/Raccoglitore.h"
#include "core/system/Gauss.h"
#include "core/system/SistemaS05.h"
#include "ui/Main.h"
#include "ui/UFasiChild.h"
#include "ui/UTraiettorieChild.h"

namespace {

constexpr int kPercorsi = 100000;
int ridisegni = 0;

std::unique_ptr<TSistema> Gbm() {
    auto s = std::make_unique<TSistemaS05>();
    s->SetIntervallo(0, 1, 0.01L);
    s->SetDimensione(2, 1);
    for (int k = 1; k <= 2; ++k) {
        s->SetOrigine(k, 1);
        s->Deriva(k).SetText("0.05*x" + std::to_string(k));
        s->Diffusione(k, 1).SetText("0.2*x" + std::to_string(k));
    }
    return s;
}

void Attendi(TMainForm& main) {
    auto* eulero = main.findChild<QAction*>("Eulero05");
    while (!eulero->isEnabled()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void Collega(TMainForm& main, TComune* finestra) {
    QMdiSubWindow* sotto = main.Area()->addSubWindow(finestra);
    sotto->resize(435, 300);
    sotto->show();
    main.AffidaFinestraAlSistema(sotto);
    main.CollegaFinestra(finestra);
}

void Esecuzione(benchmark::State& state, bool finestre) {
    for (auto _ : state) {
        TMainForm main;
        main.show();
        main.SetSistema(Gbm());
        Attendi(main);
        TTraiettorieChild* traiettorie = nullptr;
        TFasiChild* fasi = nullptr;
        if (finestre) {
            traiettorie = new TTraiettorieChild;
            traiettorie->PianoTraiettorie1()->AddFunzione(main.Sistema()->Componente(1));
            Collega(main, traiettorie);
            fasi = new TFasiChild;
            fasi->PianoFasi1()->SetFunzioneX(main.Sistema()->Componente(1));
            fasi->PianoFasi1()->SetFunzioneY(main.Sistema()->Componente(2));
            fasi->PianoFasi1()->SetTempi(0, 1, 0.01L);
            Collega(main, fasi);
        }
        const auto t0 = std::chrono::steady_clock::now();
        main.InizioRicalcolo(kPercorsi);
        main.Sistema()->Avvia(kPercorsi);
        Attendi(main);
        const std::chrono::duration<double> durata = std::chrono::steady_clock::now() - t0;
        state.SetIterationTime(durata.count());
        if (finestre)
            ridisegni = traiettorie->Piano()->RidisegniAvviati() + fasi->Piano()->RidisegniAvviati();
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ImpostaStatoCasuale(StatoCasuale{1u, false, 0});
    for (bool finestre : {false, true})
        benchmark::RegisterBenchmark(finestre ? "run/windows" : "run/none",
                                     [finestre](benchmark::State& s) { Esecuzione(s, finestre); })
            ->Iterations(1)
            ->Repetitions(3)
            ->ReportAggregatesOnly(true)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    Raccoglitore r;
    benchmark::RunSpecifiedBenchmarks(&r);
    auto tempo = [&](const char* nome) {
        for (const auto& [chiave, valore] : r.reali)
            if (chiave.rfind(nome, 0) == 0) return valore;
        return 0.0;
    };
    std::printf("\nrepaints started during the last run with windows: %d\n", ridisegni);
    std::printf("target runs_with_windows: %.3f (goal <= 1.5)\n",
                tempo("run/windows") / tempo("run/none"));
    benchmark::Shutdown();
    return 0;
}
