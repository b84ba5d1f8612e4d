// Background runs: counts, interruption, error reports, the end event and tear-down of a
// system whose run is still going.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Pompa.h"
#include "core/system/Osservazione.h"
#include "core/system/SistemaS05.h"

namespace {

using namespace std::chrono_literals;

// The scheme, counting its recalculations and calling a hook at the start of each one (in
// the worker).
class TSistemaContato : public TSistemaS05 {
public:
    ~TSistemaContato() override { FermaRicalcolo(); }
    void Ricalcola() override {
        const int c = ++ricalcoli;
        if (durante) durante(c);
        TSistemaS05::Ricalcola();
    }
    std::atomic<int> ricalcoli{0};
    std::function<void(int)> durante;
};

// Waits in the worker until the test lets it go.
struct Cancello {
    std::atomic<bool> raggiunto{false}, aperto{false};
    void Attendi() {
        raggiunto = true;
        while (!aperto) std::this_thread::sleep_for(1ms);
    }
};

class Ricalcolo : public ::testing::Test {
protected:
    Ricalcolo() : s(std::make_unique<TSistemaContato>()) {
        // Grid 0 ... 1 step 0.1, dX = X dt: the 1.1^i path.
        s->SetIntervallo(0, 1, 0.1L);
        s->SetDimensione(1, 0);
        s->SetOrigine(1, 1);
        s->Deriva(1).SetText("x1");
        s->SetThreadPrincipale(&pompa);
        s->AggiungiNotifica([this](TSistema& sender) {
            EXPECT_EQ(std::this_thread::get_id(), principale);
            EXPECT_EQ(&sender, s.get());
            ++notifiche;
        });
        s->SetOnFineRicalcolo([this](TSistema& sender) {
            EXPECT_EQ(std::this_thread::get_id(), principale);
            EXPECT_EQ(&sender, s.get());
            EXPECT_FALSE(sender.InEsecuzione());
            ++fini;
        });
        s->SetOnErrore([this](const std::string& rapporto) {
            EXPECT_EQ(std::this_thread::get_id(), principale);
            rapporti.push_back(rapporto);
        });
    }
    ~Ricalcolo() override { pompa.Svuota(); }

    // Pumps until the run has fired its end, then a little longer for stray work.
    void FinoAllaFine() {
        ASSERT_TRUE(pompa.PompaFinche([&] { return fini > 0; }));
        EXPECT_FALSE(s->InEsecuzione());
        pompa.PompaFinche([] { return false; }, 50ms);
    }

    Pompa pompa;
    const std::thread::id principale = std::this_thread::get_id();
    std::unique_ptr<TSistemaContato> s;
    int notifiche = 0;
    int fini = 0;
    std::vector<std::string> rapporti;
};

TEST_F(Ricalcolo, RunOfZeroFiresOnlyTheEnd) {
    s->Avvia(0);
    EXPECT_TRUE(s->InEsecuzione());
    FinoAllaFine();
    EXPECT_EQ(s->ricalcoli, 0);
    EXPECT_EQ(notifiche, 0);
    EXPECT_EQ(fini, 1);
    EXPECT_TRUE(rapporti.empty());
}

// Records the value at t = 1 of every path, in the worker, and the paths it has seen.
struct Osservatore : IOsservatorePercorsi {
    std::optional<TOsservazione> Osservazione() const override { return osservazione; }
    void Aggiungi(Extended valore) override { valori.push_back(valore); }
    void Unisci(const TAccumulo&) override { ADD_FAILURE() << "not a parallel run"; }
    std::optional<TOsservazione> osservazione;
    std::vector<Extended> valori;
};

TEST_F(Ricalcolo, WorkerNeverWaitsForTheMainThreadAndTheEndShowsEveryPath) {
    auto x1 = std::make_shared<TRPNCompiler>();
    x1->SetText("x1");
    Osservatore osservatore;
    osservatore.osservazione = TOsservazione{x1, 1};
    std::vector<int> completatiVisti;
    s->AggiungiNotifica([&](TSistema&) { completatiVisti.push_back(s->PercorsiCompletati()); },
                        &osservatore);
    s->durante = [&](int c) { s->SetOrigine(1, c); };
    s->Avvia(200);
    // Nobody pumps: the worker completes the run on its own.
    const auto scadenza = std::chrono::steady_clock::now() + 20s;
    while (s->PercorsiCompletati() < 200 && std::chrono::steady_clock::now() < scadenza)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(s->PercorsiCompletati(), 200);
    FinoAllaFine();
    EXPECT_EQ(fini, 1);
    ASSERT_EQ(osservatore.valori.size(), 200u);
    for (int c = 1; c <= 200; ++c)
        EXPECT_NEAR(static_cast<double>(osservatore.valori[c - 1]), c * std::pow(1.1, 10),
                    1e-9 * c);
    // Few notifications, and the last one saw every path.
    ASSERT_FALSE(completatiVisti.empty());
    EXPECT_LE(completatiVisti.size(), 3u);
    EXPECT_EQ(completatiVisti.back(), 200);
}

TEST_F(Ricalcolo, InterruptedInTheSecondPathStopsAfterIt) {
    Cancello cancello;
    s->durante = [&](int c) {
        if (c == 2) cancello.Attendi();
    };
    s->Avvia(5);
    ASSERT_TRUE(pompa.PompaFinche([&] { return cancello.raggiunto.load(); }));
    s->Interrompi();
    cancello.aperto = true;
    FinoAllaFine();
    EXPECT_EQ(s->ricalcoli, 2);
    EXPECT_EQ(s->PercorsiCompletati(), 2);
    EXPECT_GE(notifiche, 1);
    EXPECT_EQ(fini, 1);
    EXPECT_TRUE(rapporti.empty());
}

TEST_F(Ricalcolo, FailingPathGivesOneReportAndEndsTheRun) {
    s->SetIntervallo(0, 200000, 1);  // beyond the table's 131072 values
    s->Deriva(1).SetText("1");
    s->Avvia(3);
    FinoAllaFine();
    EXPECT_EQ(s->ricalcoli, 1);
    EXPECT_EQ(notifiche, 0);
    EXPECT_EQ(fini, 1);
    ASSERT_EQ(rapporti.size(), 1u);
    EXPECT_EQ(rapporti[0], "Range check error.");
    // Values before the failing element remain.
    EXPECT_EQ(s->Valore(1, 131070), 1 + 131070);
}

TEST_F(Ricalcolo, FailingListenerGivesOneReportAndEndsTheRun) {
    int dopo = 0;
    int chiamate = 0;
    s->AggiungiNotifica([&](TSistema&) {
        if (++chiamate == 1) throw Exception("Listener failed");
    });
    s->AggiungiNotifica([&](TSistema&) { ++dopo; });
    s->Avvia(100000000);
    FinoAllaFine();
    EXPECT_LT(s->ricalcoli, 100000000);
    EXPECT_EQ(fini, 1);
    ASSERT_EQ(rapporti.size(), 1u);
    EXPECT_EQ(rapporti[0], "Listener failed.");
}

TEST_F(Ricalcolo, UncompiledFormulaIsReportedWithItsMessage) {
    s->Deriva(1).Azzera();
    s->Avvia(1);
    FinoAllaFine();
    ASSERT_EQ(rapporti.size(), 1u);
    EXPECT_EQ(rapporti[0], "RPN Compiler not initialized!");
}

TEST_F(Ricalcolo, WithoutAnErrorBoxAFailureStillEndsTheRun) {
    s->SetOnErrore(nullptr);
    s->Deriva(1).Azzera();
    s->Avvia(2);
    FinoAllaFine();
    EXPECT_EQ(fini, 1);
    EXPECT_EQ(s->ricalcoli, 1);
}

TEST_F(Ricalcolo, FailingErrorBoxDoesNotLoseTheEnd) {
    s->SetOnErrore([](const std::string&) { throw Exception("Box failed!"); });
    s->Deriva(1).Azzera();
    s->Avvia(1);
    FinoAllaFine();
    EXPECT_EQ(fini, 1);
}

TEST_F(Ricalcolo, EndEventIsTheOneSetWhenTheRunStarted) {
    int tardivi = 0;
    s->Avvia(1);
    s->SetOnFineRicalcolo([&](TSistema&) { ++tardivi; });
    FinoAllaFine();
    EXPECT_EQ(fini, 1);
    EXPECT_EQ(tardivi, 0);
    s->Avvia(1);
    ASSERT_TRUE(pompa.PompaFinche([&] { return !s->InEsecuzione(); }));
    EXPECT_EQ(tardivi, 1);
}

TEST_F(Ricalcolo, RefusesASecondRunAndARunWithoutMainThread) {
    Cancello cancello;
    s->durante = [&](int) { cancello.Attendi(); };
    s->Avvia(1);
    EXPECT_THROW(s->Avvia(1), Exception);
    cancello.aperto = true;
    FinoAllaFine();
    EXPECT_EQ(s->ricalcoli, 1);
    EXPECT_EQ(fini, 1);
    s->durante = nullptr;
    s->Avvia(1);  // allowed again after the end
    ASSERT_TRUE(pompa.PompaFinche([&] { return fini == 2; }));

    TSistemaS05 senza;
    EXPECT_THROW(senza.Avvia(1), Exception);
    EXPECT_FALSE(senza.InEsecuzione());
}

TEST_F(Ricalcolo, EndEventMayStartTheNextRun) {
    s->SetOnFineRicalcolo([&](TSistema& sender) {
        if (++fini < 3) sender.Avvia(2);
    });
    s->Avvia(2);
    ASSERT_TRUE(pompa.PompaFinche([&] { return fini == 3; }));
    pompa.PompaFinche([] { return false; }, 50ms);
    EXPECT_EQ(s->ricalcoli, 6);
    EXPECT_GE(notifiche, 3);
    EXPECT_FALSE(s->InEsecuzione());
}

TEST_F(Ricalcolo, ListenersMayReadAndChangeTheSystemDuringARun) {
    std::vector<Extended> visti;
    s->AggiungiNotifica([&](TSistema& sender) {
        visti.push_back(sender.Valore(1, 0));
        sender.SetOrigine(1, sender.Origine(1) * 2);
    });
    s->Avvia(3);
    FinoAllaFine();
    ASSERT_FALSE(visti.empty());
    EXPECT_EQ(visti[0], 1);
}

TEST_F(Ricalcolo, ListenerMayDestroyItsSystemInAnyPosition) {
    for (int posizione = 0; posizione < 3; ++posizione) {
        auto sistema = std::make_unique<TSistemaS05>();
        sistema->SetIntervallo(0, 1, 0.1L);
        sistema->SetDimensione(1, 0);
        sistema->Deriva(1).SetText("x1");
        sistema->SetThreadPrincipale(&pompa);
        std::vector<int> chiamati;
        for (int l = 0; l < 3; ++l)
            sistema->AggiungiNotifica([&, l](TSistema&) {
                chiamati.push_back(l);
                if (l == posizione) sistema.reset();
            });
        sistema->Avvia(3);
        ASSERT_TRUE(pompa.PompaFinche([&] { return !sistema; }));
        pompa.PompaFinche([] { return false; }, 20ms);
        std::vector<int> attesi;
        for (int l = 0; l <= posizione; ++l) attesi.push_back(l);
        EXPECT_EQ(chiamati, attesi) << "no listener after the one that destroyed the system";
    }
}

// The worker executes the formula all along: the main thread's new texts are refused and
// the path is the old formula's; once the run has ended the text is accepted.
TEST_F(Ricalcolo, FormulaOfARunningSystemRefusesANewText) {
    s->SetIntervallo(0, 100000, 1);
    s->Deriva(1).SetText("1");
    s->Avvia(2);
    int rifiutati = 0;
    ASSERT_TRUE(pompa.PompaFinche([&] {
        if (fini > 0) return true;
        try {
            s->Deriva(1).SetText("2");
            ADD_FAILURE() << "accepted during the run";
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Cannot change a formula while its system is recalculating!");
            ++rifiutati;
        }
        return false;
    }));
    EXPECT_GT(rifiutati, 0);
    EXPECT_EQ(s->Deriva(1).Text(), "1");
    EXPECT_EQ(s->Valore(1, 100000), 1 + 100000);
    s->Deriva(1).SetText("2");
    EXPECT_EQ(s->Deriva(1).Text(), "2");
}

TEST_F(Ricalcolo, DestroyedWithItsNotificationsQueued) {
    s->Avvia(3);
    while (pompa.InCoda() == 0) std::this_thread::sleep_for(1ms);
    s.reset();
    EXPECT_GE(pompa.Svuota(), 1);  // the pending notifications, now disarmed
    EXPECT_EQ(notifiche, 0);
    EXPECT_EQ(fini, 0);
}

TEST_F(Ricalcolo, DestroyedDuringAPath) {
    s->SetIntervallo(0, 131070, 1);
    Cancello cancello;
    s->durante = [&](int) { cancello.raggiunto = true; };
    s->Avvia(10);
    while (!cancello.raggiunto) std::this_thread::sleep_for(1ms);
    s.reset();  // waits for the path in progress, then the worker leaves
    pompa.Svuota();
    EXPECT_EQ(notifiche, 0);
    EXPECT_EQ(fini, 0);
}

TEST_F(Ricalcolo, DestroyedBeforeTheEndEventRan) {
    s->Avvia(0);
    while (pompa.InCoda() == 0) std::this_thread::sleep_for(1ms);
    s.reset();
    EXPECT_EQ(pompa.Svuota(), 1);
    EXPECT_EQ(fini, 0);
}

TEST_F(Ricalcolo, DestroyedWhileTheErrorWaitsToBeShown) {
    s->Deriva(1).Azzera();
    s->Avvia(1);
    while (pompa.InCoda() == 0) std::this_thread::sleep_for(1ms);
    s.reset();
    pompa.Svuota();
    EXPECT_TRUE(rapporti.empty());
    EXPECT_EQ(fini, 0);
}

}  // namespace
