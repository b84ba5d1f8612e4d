// The discrete-map commands and windows: the map dialog, the diagram, exponent, iteration and
// iterate windows of the logistic map read at the planes' pixels, the lambda slider, and the
// windows' life with the engine that owns them.
#include <cmath>

#include <QInputDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>

#include "core/discrete/Bifurcation.h"
#include "tests/plot/AiutiPiano.h"
#include "tests/ui/Modali.h"
#include "ui/frame/Main.h"
#include "ui/dialogs/UDiscreto.h"
#include "ui/windows/UIterataChild.h"
#include "ui/windows/UIterazioneChild.h"
#include "ui/dialogs/UParametriIter.h"
#include "ui/windows/UTraiettorieChild.h"

using namespace prova;

class TestBiforcazione : public QObject {
    Q_OBJECT

    TRisponditore risponditore_;
    TMainForm* main_ = nullptr;

    QAction* Azione(const char* nome) { return main_->findChild<QAction*>(nome); }
    // "&Biforcazione..." with the dialog's defaults, or with one edit changed.
    void Definisci(const char* campo = nullptr, const QString& testo = {}) {
        risponditore_.Atteso([=](QWidget* w) {
            auto* dialogo = qobject_cast<TDiscreto*>(w);
            QVERIFY(dialogo);
            if (campo) Digita(dialogo->findChild<QLineEdit*>(campo), testo);
            Clicca(w, "OKBtn");
        });
        Azione("Biforcazione1")->trigger();
    }
    template <class T>
    T* Apri(const char* comando) {
        Azione(comando)->trigger();
        return qobject_cast<T*>(main_->Area()->subWindowList().last()->widget());
    }
    static void Estensione(TPianoCartesiano* p, Extended minX, Extended dx, Extended minY,
                           Extended dy) {
        p->SetMinX(minX);
        p->SetDX(dx);
        p->SetMinY(minY);
        p->SetDY(dy);
    }
    // Answers the slider's range query; a report it causes is read into errore.
    void Limite(TBarraLambda* barra, bool minimo, const QString& testo,
                TMessaggio* errore = nullptr) {
        risponditore_.Atteso([=](QWidget* w) {
            auto* box = qobject_cast<QInputDialog*>(w);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QString("Parametro della biforcazione"));
            QCOMPARE(box->labelText(), QString(minimo ? "Valore minimo" : "Valore massimo"));
            box->setTextValue(testo);
            box->accept();
        });
        if (errore) risponditore_.Atteso(LeggiMessaggio(*errore));
        minimo ? barra->Minimo1Click() : barra->Massimo1Click();
    }

private slots:
    void initTestCase() { ZittisciAvvisiPiattaforma(); }

    void init() {
        main_ = new TMainForm;
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_));
    }

    void cleanup() {
        delete main_;
        ControllaFineTest(risponditore_);
    }

    void diagram_shows_the_two_cycle_at_3_2() {
        QVERIFY(!Azione("Biforcazione2")->isEnabled());
        Definisci();
        QVERIFY(Azione("Biforcazione2")->isEnabled());
        auto* finestra = Apri<TTraiettorieChild>("Diagramma1");
        QCOMPARE(finestra->windowTitle(), QString("Diagramma di biforcazione"));
        TPianoCartesiano* piano = finestra->Piano();
        Estensione(piano, 2.8L, 1.2L, 0, 1);
        const QImage tela = Tela(*piano);
        const int colonna = piano->XToPixel(3.2L);
        const Extended l = piano->PixelToX(colonna);
        const Extended r = std::sqrt((l - 3) * (l + 1));
        const int righe[] = {piano->YToPixel((l + 1 - r) / (2 * l)),
                             piano->YToPixel((l + 1 + r) / (2 * l))};
        int vicini = 0;
        for (int y = 0; y < tela.height(); ++y) {
            if (Pixel(tela, colonna, y) != Bianco) continue;
            const bool atteso = std::abs(y - righe[0]) <= 1 || std::abs(y - righe[1]) <= 1;
            QVERIFY2(atteso, qPrintable(QString("white at row %1").arg(y)));
            ++vicini;
        }
        QVERIFY(vicini >= 2);
        for (int riga : righe) QVERIFY(Vicino(tela, colonna, riga, Bianco));
    }

    void exponent_at_2_5_is_ln_one_half() {
        Definisci();
        auto* finestra = Apri<TTraiettorieChild>("Lyapunov1");
        QCOMPARE(finestra->windowTitle(), QString("Esponente di Lyapunov"));
        TPianoCartesiano* piano = finestra->Piano();
        Estensione(piano, 2, 1, -2, 2);
        QVERIFY(Vicino(Tela(*piano), piano->XToPixel(2.5L), piano->YToPixel(std::log(0.5L)),
                       Giallo));
    }

    // The logistic map diverges beyond 4, so the diagram's drawn lambdas end there.
    void diagram_fits_to_its_orbits_and_exports_them_with_the_exponent() {
        Definisci();
        auto* diagramma = Apri<TTraiettorieChild>("Diagramma1");
        TPianoCartesiano* piano = diagramma->Piano();
        piano->Adatta();
        QTRY_VERIFY(piano->DX() != 10);
        QVERIFY(std::fabs(piano->MinX() + 0.2L) < 0.05L && std::fabs(piano->DX() - 4.4L) < 0.05L);
        QVERIFY(std::fabs(piano->MinY() + 0.05L) < 0.01L && std::fabs(piano->DY() - 1.1L) < 0.01L);
        QTemporaryDir cartella;
        QStringList tabella;
        auto esporta = [&](TComunePiano* finestra) {
            const QString file = cartella.filePath("dati.csv");
            QSignalSpy scritto(finestra, &TComunePiano::FileScritto);
            finestra->EsportaDatiIn(file);
            QTRY_COMPARE(scritto.size(), 1);
            QFile testo(file);
            QVERIFY(testo.open(QIODevice::ReadOnly));
            tabella = QString(testo.readAll()).split('\n', Qt::SkipEmptyParts);
        };
        esporta(diagramma);
        QCOMPARE(tabella.first(), QString("lambda,x"));
        auto orbita = main_->Bifurcation()->CreaBiforcazione();
        Extended punti[129];
        for (const QString& riga : tabella.mid(1)) {
            const Extended l = strtold(riga.section(',', 0, 0).toLatin1().data(), nullptr);
            const Extended x = strtold(riga.section(',', 1, 1).toLatin1().data(), nullptr);
            int n = 129;
            orbita->Valori(n, punti, l);
            QVERIFY(std::find(punti, punti + n, x) != punti + n);
        }
        auto* esponente = Apri<TTraiettorieChild>("Lyapunov1");
        esporta(esponente);
        QCOMPARE(tabella.first(), QString("lambda,esponente"));
        auto lyapunov = main_->Bifurcation()->CreaLyapunov();
        int confrontati = 0;
        for (const QString& riga : tabella.mid(1)) {
            const Extended l = strtold(riga.section(',', 0, 0).toLatin1().data(), nullptr);
            if (riga.section(',', 1, 1).isEmpty()) continue;  // no exponent there
            QCOMPARE(strtold(riga.section(',', 1, 1).toLatin1().data(), nullptr),
                     lyapunov->Valore(l));
            ++confrontati;
        }
        QVERIFY(confrontati > 50);
    }

    void slider_draws_the_cobweb_and_the_cycle() {
        Definisci();
        auto* iterazione = Apri<TIterazioneChild>("Iterazioni1");
        QCOMPARE(iterazione->windowTitle(), QString("Iterazione"));
        QVERIFY(iterazione->TrackBar1()->toolTip().isEmpty());
        TPianoCartesiano* piano = iterazione->Piano();
        Estensione(piano, 0, 1, 0, 1);
        iterazione->TrackBar1()->setValue(2500);
        QCOMPARE(iterazione->TrackBar1()->toolTip(), QString("Lambda:   2.500"));
        QVERIFY(Vicino(Tela(*piano), piano->XToPixel(0.6L), piano->YToPixel(0.6L), Blu));

        auto* iterata = Apri<TIterataChild>("Iterata1");
        QCOMPARE(iterata->windowTitle(), QString("Piano dell'iterata"));
        piano = iterata->Piano();
        Estensione(piano, 0, 1, 0, 1);
        iterata->TrackBar1()->setValue(3200);
        QCOMPARE(iterata->TrackBar1()->toolTip(), QString("Lambda:   3.200"));
        QCOMPARE(iterata->PianoIterata1()->Lambda(), 3.2L);
        const Extended q = (4.2L + std::sqrt(0.2L * 4.2L)) / 6.4L;
        QVERIFY(Vicino(Tela(*piano), piano->XToPixel(q), piano->YToPixel(q), Blu));
    }

    void a_negative_iteration_count_is_announced_with_its_empty_cobweb() {
        Definisci();
        auto* finestra = Apri<TIterazioneChild>("Iterazioni1");
        Estensione(finestra->Piano(), 0, 1, 0, 1);
        finestra->TrackBar1()->setValue(2500);
        risponditore_.Atteso([&](QWidget* w) {
            Digita(qobject_cast<TParametriIter*>(w)->Iterazioni(), "-3");
            Clicca(w, "OKBtn");
        });
        TMessaggio avviso;
        risponditore_.Atteso(LeggiMessaggio(avviso));
        finestra->Parametri1Click();
        QVERIFY2(avviso.testo.startsWith("Iterazioni è negativo"), qPrintable(avviso.testo));
        QCOMPARE(ContaColore(Tela(*finestra->Piano()), Blu), 0);
    }

    void a_faulty_map_keeps_the_previous_engine_and_its_windows_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("map")
            << "Dinamica" << "x0*(" << "Function is not legal here! at position: 4.";
        QTest::newRow("derivative")
            << "Derivata" << "x26" << "Variable out of range (x0 to x25)! at position: 0.";
        QTest::newRow("seed") << "Seed" << "abc" << "'abc' is not a valid floating point value.";
    }
    void a_faulty_map_keeps_the_previous_engine_and_its_windows() {
        QFETCH(QString, campo);
        QFETCH(QString, testo);
        QFETCH(QString, messaggio);
        Definisci();
        TBifurcation* prima = main_->Bifurcation();
        Apri<TTraiettorieChild>("Diagramma1");
        TMessaggio errore;
        risponditore_.Atteso([&](QWidget* w) {
            Digita(w->findChild<QLineEdit*>(campo), testo);
            Clicca(w, "OKBtn");
        });
        risponditore_.Atteso(LeggiMessaggio(errore));
        Azione("Biforcazione1")->trigger();
        QCOMPARE(errore.testo, messaggio);
        QCOMPARE(main_->Bifurcation(), prima);
        QCOMPARE(main_->Area()->subWindowList().size(), 1);
        risponditore_.Atteso([](QWidget* w) { Clicca(w, "CancelBtn"); });
        Azione("Biforcazione1")->trigger();
        QCOMPARE(main_->Bifurcation(), prima);
    }

    void a_new_engine_closes_every_discrete_window() {
        Definisci();
        for (const char* comando : {"Diagramma1", "Lyapunov1", "Iterazioni1", "Iterata1"})
            Azione(comando)->trigger();
        Azione("PianoCartesiano1")->trigger();
        QCOMPARE(main_->Area()->subWindowList().size(), 5);
        main_->Area()->subWindowList().first()->close();  // closing one frees it
        Definisci("Seed", "0.5");
        QTRY_COMPARE(main_->Area()->subWindowList().size(), 1);
        QCOMPARE(main_->Area()->subWindowList()[0]->windowTitle(), QString("Piano Cartesiano"));
        QCOMPARE(main_->Bifurcation()->Seed(), 0.5L);
    }

    void slider_range_follows_the_queries() {
        Definisci();
        TBarraLambda* barra = Apri<TIterataChild>("Iterata1")->TrackBar1();
        QCOMPARE(barra->tickInterval(), 200);
        Limite(barra, false, "2");
        QCOMPARE(barra->maximum(), 2000);
        QCOMPARE(barra->tickInterval(), 100);
        TMessaggio errore;
        Limite(barra, true, "abc", &errore);
        QCOMPARE(errore.testo, QString("'abc' is not a valid floating point value."));
        QCOMPARE(barra->minimum(), 0);
        Limite(barra, true, "3");  // above the maximum: the maximum follows
        QCOMPARE(barra->minimum(), 3000);
        QVERIFY(barra->maximum() >= barra->minimum());
        QVERIFY(barra->tickInterval() >= 0);
        QCOMPARE(barra->Lambda(), 3.0L);
    }

    void parameters_apply_in_order_until_one_fails() {
        Definisci();
        auto* finestra = Apri<TIterazioneChild>("Iterazioni1");
        TPianoIterazione* piano = finestra->PianoIterazione1();
        TMessaggio errore;
        risponditore_.Atteso([](QWidget* w) {
            auto* dialogo = qobject_cast<TParametriIter*>(w);
            QVERIFY(dialogo);
            QCOMPARE(dialogo->Seed()->text(), QString("0.321"));
            QCOMPARE(dialogo->Skip()->text(), QString("0"));
            QCOMPARE(dialogo->Iterazioni()->text(), QString("100"));
            Digita(dialogo->Seed(), "0.5");
            Digita(dialogo->Skip(), "x");
            Digita(dialogo->Iterazioni(), "7");
            Clicca(w, "OKBtn");
        });
        risponditore_.Atteso(LeggiMessaggio(errore));
        finestra->findChild<QAction*>("Parametri1")->trigger();
        QCOMPARE(piano->Seed(), 0.5L);
        QCOMPARE(piano->Skip(), 0);
        QCOMPARE(piano->Iterazioni(), 100);
        QVERIFY(!errore.testo.isEmpty());
    }
};

QTEST_MAIN(TestBiforcazione)
#include "test_biforcazione.moc"
