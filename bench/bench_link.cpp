// The link server on a private session bus. link_push: one "Aggiorna link" with 10 links of
// 8191 values (the largest block), from the click until the 10 blocks have arrived, against
// building the same 10 blocks with Tabella alone. link_outside: a block whose times all lie
// outside the grid against one inside. link_gui_lateness: the worst delay of a GUI frame while
// 100 such links are pushed to a separate client process. Then what one vantor-link process
// receives per second, and the worst frame delay under a flood of 50,000 links.
#include <benchmark/benchmark.h>

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
#include "bench/RitardoGui.h"
#include "core/link/ItemData.h"
#include "core/system/SistemaS05.h"
#include "dde/NomiLink.h"
#include "dde/UDDETopic.h"
#include "tests/dde/BusPrivato.h"

namespace {

constexpr int kLink = 10;
constexpr int kLinkGui = 100;
constexpr int kSpinteGui = 10;
constexpr int kBlocchiClient = 100;
constexpr int kDiluvio = 50000;

// Waits in the event loop, as the GUI thread does, until pronto() or 60 s.
template <class F>
bool Attendi(F pronto) {
    QElapsedTimer t;
    t.start();
    while (!pronto() && t.elapsed() < 60000)
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
const QString Fuori = "-9000;-810;1;1;";  // 8191 samples before the grid

// Counts the blocks that reach one connection of this process.
class TContatore : public QObject {
    Q_OBJECT
public:
    int blocchi = 0;
public slots:
    void Dati(const QString&, const QString&, const QByteArray&) { ++blocchi; }
};

// A client process's lines on standard output, as they come.
struct TUscita {
    explicit TUscita(QProcess& p) : processo(p) {}
    bool HaDetto(const QByteArray& riga) {
        testo += processo.readAllStandardOutput();
        return testo.split('\n').contains(riga);
    }
    QProcess& processo;
    QByteArray testo;
};

double LatenzaGui(TDDETopic& topic) {
    QProcess lettore;
    lettore.start(CLIENTE_OSTILE, {"legge", QString::number(kLinkGui), Item(0)});
    TUscita uscita(lettore);
    if (!Attendi([&] { return uscita.HaDetto("pronto"); })) return -1;
    TRitardoGui ritardo;
    for (int i = 1; i <= kSpinteGui; ++i) {
        topic.AggiornaClick();
        if (!Attendi([&] { return uscita.HaDetto(QByteArray::number(i * kLinkGui)); }))
            return -1;
    }
    lettore.kill();
    lettore.waitForFinished();
    Attendi([&] { return topic.ListView1()->topLevelItemCount() == 0; });
    return ritardo.Peggiore();
}

double RitardoDiluvio(TDDETopic& topic) {
    TRitardoGui ritardo;
    QProcess diluvio;
    diluvio.start(CLIENTE_OSTILE, {"raffica", QString::number(kDiluvio), "12"});
    Attendi([&] { return diluvio.state() == QProcess::NotRunning; });
    Attendi([&] { return topic.ListView1()->topLevelItemCount() == 0; });
    return ritardo.Peggiore();
}

double BlocchiAlSecondo(TDDETopic& topic) {
    QProcess client;
    client.start(VANTOR_LINK, {Item(0)});
    if (!Attendi([&] { return topic.ListView1()->topLevelItemCount() == 1; })) return -1;
    QByteArray uscita;
    int tabelle = 0;
    QObject::connect(&client, &QProcess::readyReadStandardOutput, [&] {
        uscita += client.readAllStandardOutput();
        for (qsizetype i; (i = uscita.indexOf("X1\n")) >= 0; uscita.remove(0, i + 3)) ++tabelle;
    });
    QElapsedTimer orologio;
    orologio.start();
    // One push at a time: a click while one is under way waits for it or joins it.
    for (int i = 1; i <= kBlocchiClient; ++i) {
        topic.AggiornaClick();
        if (!Attendi([&] { return tabelle == i; })) return -1;
    }
    const double alSecondo = kBlocchiClient / (orologio.nsecsElapsed() * 1e-9);
    client.terminate();
    client.waitForFinished();
    Attendi([&] { return topic.ListView1()->topLevelItemCount() == 0; });
    return alSecondo;
}

}  // namespace

int main(int argc, char** argv) {
    TBusPrivato bus;
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const std::unique_ptr<TSistemaS05> sistema = Sistema();
    TDDETopic topic([&] { return sistema.get(); });

    const double blocchiAlSecondo = BlocchiAlSecondo(topic);
    const double latenza = LatenzaGui(topic);
    const double diluvio = RitardoDiluvio(topic);

    // Ten links held by one connection of this process, which counts the blocks it gets.
    QDBusConnection collegamento =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, "bench");
    TContatore contatore;
    collegamento.connect(NomiLink::Servizio, NomiLink::Oggetto, NomiLink::Interfaccia,
                         NomiLink::AdviseData, &contatore,
                         SLOT(Dati(QString, QString, QByteArray)));
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
    const TItemData fuori = *AnalizzaItem(Fuori.toStdString());

    benchmark::RegisterBenchmark("link/aggiorna_10x8191", [&](benchmark::State& state) {
        for (auto _ : state) {
            const int attesi = contatore.blocchi + kLink;
            topic.AggiornaClick();
            Attendi([&] { return contatore.blocchi == attesi; });
        }
    })->UseRealTime();
    benchmark::RegisterBenchmark("tabella/10x8191", [&](benchmark::State& state) {
        for (auto _ : state)
            for (const TItemData& d : items)
                benchmark::DoNotOptimize(sistema->Tabella(d.Colonne, d.T0, d.T1, d.DT));
    });
    benchmark::RegisterBenchmark("tabella/fuori_8191", [&](benchmark::State& state) {
        for (auto _ : state)
            benchmark::DoNotOptimize(
                sistema->Tabella(fuori.Colonne, fuori.T0, fuori.T1, fuori.DT));
    });
    benchmark::RegisterBenchmark("tabella/dentro_8191", [&](benchmark::State& state) {
        const TItemData& d = items[0];
        for (auto _ : state)
            benchmark::DoNotOptimize(sistema->Tabella(d.Colonne, d.T0, d.T1, d.DT));
    });
    Raccoglitore r;
    benchmark::RunSpecifiedBenchmarks(&r);
    const double push = r.reali["link/aggiorna_10x8191/real_time"];
    const double tabella = r.reali["tabella/10x8191"];
    const double fuoriGriglia = r.tempi["tabella/fuori_8191"];
    const double dentro = r.tempi["tabella/dentro_8191"];
    std::printf("\none Aggiorna link, 10 x 8191 values, until the last block arrives: %.2f ms; "
                "Tabella alone %.2f ms\n", push * 1e-6, tabella * 1e-6);
    std::printf("one block outside the grid %.3f ms, inside %.3f ms\n", fuoriGriglia * 1e-6,
                dentro * 1e-6);
    std::printf("vantor-link receives %.0f blocks of 8191 values per second (CSV on a pipe)\n",
                blocchiAlSecondo);
    std::printf("a flood of %d links from one client: worst GUI frame delay %.1f ms\n",
                kDiluvio, diluvio);
    std::printf("target link_push: %.2f (no goal yet)\n", push / tabella);
    std::printf("target link_gui_lateness: %.1f (goal <= 50)\n", latenza);
    std::printf("target link_outside: %.2f (goal <= 1.5)\n", fuoriGriglia / dentro);
    benchmark::Shutdown();
    QDBusConnection::disconnectFromBus("bench");
    return 0;
}

#include "bench_link.moc"
