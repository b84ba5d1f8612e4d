// One "Aggiorna link" of the link server with 10 links of 8191 values each (the largest
// block) against building the same 10 blocks with Tabella alone, in GUI-thread CPU time;
// then the blocks per second that one vantor-link process receives and writes as CSV.
// Runs on a private session bus.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QProcess>
#include <QTreeWidget>

#include "bench/Raccoglitore.h"
#include "core/link/ItemData.h"
#include "core/system/SistemaS05.h"
#include "dde/NomiLink.h"
#include "dde/UDDETopic.h"
#include "tests/dde/BusPrivato.h"

namespace {

constexpr int kLink = 10;
constexpr int kBlocchiClient = 100;

// Waits in the event loop, as the GUI thread does, until pronto() or 30 s.
template <class F>
bool Attendi(F pronto) {
    QElapsedTimer t;
    t.start();
    while (!pronto() && t.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return pronto();
}

// One component on 0 ... 8190 by 1: every sample of the items below interpolates.
std::unique_ptr<TSistemaS05> Sistema() {
    auto s = std::make_unique<TSistemaS05>();
    s->SetIntervallo(0, 8190, 1);
    s->SetDimensione(1, 1);
    s->SetOrigine(1, 1);
    s->Deriva(1).SetText("0-0.001*x1");
    s->Diffusione(1, 1).SetText("0.1");
    s->Ricalcola();
    return s;
}

// Link i samples 8191 times from i/20 by 1 (the last sample of each lies past the grid).
QString Item(int i) { return QString("%1;%2;1;1;").arg(i / 20.0).arg(8190 + i / 20.0); }

}  // namespace

int main(int argc, char** argv) {
    TBusPrivato bus;
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const std::unique_ptr<TSistemaS05> sistema = Sistema();
    TDDETopic topic([&] { return sistema.get(); });

    // The client's rate: a burst of pushes, timed until its last table has been written.
    QProcess client;
    client.start(VANTOR_LINK, {Item(0)});
    if (!Attendi([&] { return topic.ListView1()->topLevelItemCount() == 1; })) return 1;
    QByteArray uscita;
    int tabelle = 0;
    QObject::connect(&client, &QProcess::readyReadStandardOutput, [&] {
        uscita += client.readAllStandardOutput();
        for (qsizetype i; (i = uscita.indexOf("X1\n")) >= 0; uscita.remove(0, i + 3)) ++tabelle;
    });
    QElapsedTimer orologio;
    orologio.start();
    for (int i = 0; i < kBlocchiClient; ++i) topic.AggiornaClick();
    if (!Attendi([&] { return tabelle == kBlocchiClient; })) return 1;
    const double blocchiAlSecondo = kBlocchiClient / (orologio.nsecsElapsed() * 1e-9);
    client.terminate();
    client.waitForFinished();
    Attendi([&] { return topic.ListView1()->topLevelItemCount() == 0; });

    // Ten links held by one connection of this process, which drops the blocks it gets.
    QDBusConnection collegamento =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, "bench");
    std::vector<TItemData> items;
    for (int i = 0; i < kLink; ++i) {
        QDBusMessage m = QDBusMessage::createMethodCall(NomiLink::Servizio, NomiLink::Oggetto,
                                                        NomiLink::Interfaccia,
                                                        NomiLink::AdviseStart);
        m << Item(i) << QString(NomiLink::Formato);
        collegamento.asyncCall(m);
        items.push_back(*AnalizzaItem(Item(i).toStdString()));
    }
    if (!Attendi([&] { return topic.ListView1()->topLevelItemCount() == kLink; })) return 1;

    benchmark::RegisterBenchmark("link/aggiorna_10x8191", [&](benchmark::State& state) {
        for (auto _ : state) {
            topic.AggiornaClick();
            // The bus connection writes what was queued, as the event loop would.
            state.PauseTiming();
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    });
    benchmark::RegisterBenchmark("tabella/10x8191", [&](benchmark::State& state) {
        for (auto _ : state)
            for (const TItemData& d : items)
                benchmark::DoNotOptimize(sistema->Tabella(d.Colonne, d.T0, d.T1, d.DT));
    });
    Raccoglitore r;
    benchmark::RunSpecifiedBenchmarks(&r);
    const double push = r.tempi["link/aggiorna_10x8191"];
    const double tabella = r.tempi["tabella/10x8191"];
    std::printf("\none Aggiorna link, 10 x 8191 values: %.2f ms of the GUI thread, Tabella "
                "alone %.2f ms\n", push * 1e-6, tabella * 1e-6);
    std::printf("vantor-link receives %.0f blocks of 8191 values per second (CSV on a pipe)\n",
                blocchiAlSecondo);
    std::printf("target link_push: %.2f (no goal yet)\n", push / tabella);
    benchmark::Shutdown();
    QDBusConnection::disconnectFromBus("bench");
    return 0;
}
