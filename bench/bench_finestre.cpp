// Windows under load. Runs of many paths with plot windows open: 100,000 paths of geometric
// Brownian motion with 100 steps, with no window and with a trajectory and a phase window
// that are told of every path; the windows' repaint requests coalesce, so the run should
// barely notice them. And 4,000 changes of the lambda slider of an iterate window, as fast
// as the event loop takes them, with a 10 ms timer that must stay on time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "bench/FinestraPrincipale.h"
#include "bench/Raccoglitore.h"
#include "bench/RitardoGui.h"
#include "core/discrete/Bifurcation.h"
#include "core/system/Gauss.h"
#include "plot/PianoIterata.h"
#include "core/system/SistemaS05.h"
#include "ui/frame/Main.h"
#include "ui/windows/UFasiChild.h"
#include "ui/windows/UIterataChild.h"
#include "ui/windows/UTraiettorieChild.h"

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
            ridisegni =
                traiettorie->Piano()->RidisegniAvviati() + fasi->Piano()->RidisegniAvviati();
    }
}

struct Cursore {
    double ritardo;  // ms
    bool finaleGiusto;
};

// Waits until the plane has neither a repaint running nor one requested.
void AttendiPiano(const TPianoCartesiano& piano) {
    while (piano.InRidisegno()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

Cursore TrascinaCursore() {
    TMainForm main;
    main.show();
    auto motore = std::make_unique<TBifurcation>();
    motore->Dinamica().SetText("x0*x1*(1-x1)");
    motore->Derivata().SetText("x0*(1-2*x1)");
    main.SetBifurcation(std::move(motore));
    main.findChild<QAction*>("Iterata1")->trigger();
    auto* finestra = qobject_cast<TIterataChild*>(main.Area()->subWindowList().last()->widget());
    TPianoIterata* piano = finestra->PianoIterata1();
    piano->SetDX(1);
    piano->SetMinY(0);
    piano->SetDY(1);
    AttendiPiano(*piano);

    auto ritardo = std::make_unique<TRitardoGui>();
    // Every position once but one, ending at lambda = 3.199 (a 2-cycle).
    int cambi = 0;
    QTimer cursore;
    QObject::connect(&cursore, &QTimer::timeout, [&] {
        finestra->TrackBar1()->setValue((3200 + ++cambi) % 4001);
        if (cambi == 4000) cursore.stop();
    });
    cursore.start(0);
    while (cursore.isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    AttendiPiano(*piano);
    const double peggiore = ritardo->Peggiore();
    ritardo.reset();

    // The same picture drawn from scratch at the last lambda.
    TPianoIterata riferimento;
    riferimento.resize(piano->size());
    riferimento.show();
    riferimento.SetDX(1);
    riferimento.SetMinY(0);
    riferimento.SetDY(1);
    riferimento.SetMultiFunzione(main.Bifurcation()->CreaBiforcazione());
    riferimento.SetFunzione(main.Bifurcation()->CreaIterazione(3.199L));
    riferimento.SetLambda(3.199L);
    AttendiPiano(riferimento);
    return {peggiore, piano->Lambda() == 3.199L && riferimento.CopiaTela() == piano->CopiaTela()};
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
    const Cursore cursore = TrascinaCursore();
    std::printf("\nrepaints started during the last run with windows: %d\n", ridisegni);
    std::printf("slider: final picture is the one of the last lambda: %s\n",
                cursore.finaleGiusto ? "yes" : "NO");
    std::printf("target runs_with_windows: %.3f (goal <= 1.5)\n",
                tempo("run/windows") / tempo("run/none"));
    std::printf("target slider_lateness: %.1f (goal <= 30)\n", cursore.ritardo);
    benchmark::Shutdown();
    return 0;
}
