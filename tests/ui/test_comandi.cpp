// The creation and recalculation commands of the main window, driven through its menus,
// tool buttons and dialogs, with the real schemes running in the background.
#include <cmath>
#include <thread>
#include <typeindex>

#include <QInputDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "core/base/Conversioni.h"
#include "core/system/SistemaDI1.h"
#include "core/system/SistemaDRK.h"
#include "core/system/SistemaS05.h"
#include "core/system/SistemaS10.h"
#include "core/system/SistemaS15.h"
#include "core/system/SistemaW10.h"
#include "tests/ui/Definizione.h"
#include "tests/ui/Modali.h"
#include "ui/frame/Main.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/dialogs/UCoefficienti.h"
#include "ui/dialogs/UDimensioni.h"
#include "ui/dialogs/UParametri.h"
#include "ui/dialogs/URicalcoloParallelo.h"
#include "ui/dialogs/USperanza.h"
#include "ui/windows/USperanzaChild.h"
#include "core/system/Ensemble.h"

using namespace prova;

namespace {

// The diffusion formula of component k for motion j, whatever the scheme.
QString TestoDiffusione(TSistema* s, int k, int j) {
    if (auto* piena = dynamic_cast<TSistemaS05*>(s))
        return QString::fromStdString(piena->Diffusione(k, j).Text());
    if (auto* diagonale = dynamic_cast<TSistemaS10*>(s))
        return QString::fromStdString(diagonale->Diffusione(k).Text());
    if (auto* scalare = dynamic_cast<TSistemaS15*>(s))
        return QString::fromStdString(scalare->Diffusione(k).Text());
    return {};
}

QString Classe(TSistema* s) {
    static const std::pair<std::type_index, const char*> classi[] = {
        {typeid(TSistemaS05), "TSistemaS05"}, {typeid(TSistemaS10), "TSistemaS10"},
        {typeid(TSistemaS15), "TSistemaS15"}, {typeid(TSistemaW10), "TSistemaW10"},
        {typeid(TSistemaDRK), "TSistemaDRK"}, {typeid(TSistemaDI1), "TSistemaDI1"}};
    for (const auto& [tipo, nome] : classi)
        if (std::type_index(typeid(*s)) == tipo) return nome;
    return "?";
}

// Enough work per path (130002 grid points) that a run of 50 takes a while.
TDefinizione Pesante() {
    TDefinizione d;
    d.origini = {"0.5"};
    d.derive = {"0-x1+sin(x0)*cos(x1)"};
    d.diffusioni = {{"0.3*cos(x1)+0.1*sin(x0)"}};
    d.fine = "1300";
    return d;
}

}  // namespace

class TestComandi : public QObject {
    Q_OBJECT

    TRisponditore risponditore_;
    TMainForm* main_ = nullptr;

    QAction* Azione(const char* nome) { return main_->findChild<QAction*>(nome); }
    QProgressBar* Progresso() { return main_->findChild<QProgressBar*>("ProgressBar1"); }
    void CliccaPulsante(const char* nome) {
        auto* pulsante = main_->findChild<QToolButton*>(nome);
        QVERIFY2(pulsante && pulsante->isEnabled(), nome);
        QTest::mouseClick(pulsante, Qt::LeftButton);
    }
    void AttendiFine() { QTRY_VERIFY_WITH_TIMEOUT(Azione("Eulero05")->isEnabled(), 30000); }
    void VerificaInattivo() {
        for (const char* nome :
             {"Ricalcola", "RicalcolaN1", "RicalcoloParallelo1", "Eulero05", "Opzioni1",
              "Nuovo1", "Debole1", "Deterministico1", "Sistema1"})
            QVERIFY2(Azione(nome)->isEnabled(), nome);
        QVERIFY(!Azione("Interrompi")->isEnabled());
    }
    // Runs a creation command with its dialogs answered from d.
    void Definisci(const char* comando, const TDefinizione& d, TVisto& visto, int dialoghi = 2) {
        for (int i = 0; i < dialoghi; ++i) risponditore_.Atteso(Compila(d, visto));
        Azione(comando)->trigger();
    }
    void DefinisciSemplice() {
        TVisto visto;
        Definisci("Eulero05", Decadimento(1, 1, 1), visto);
        AttendiFine();
        QVERIFY(main_->Sistema());
    }
    // Answers the count box of "Ricalcola &N..." by typing, or with Cancel.
    void RispondiConteggio(const QString& testo, bool annulla = false) {
        risponditore_.Atteso([testo, annulla](QWidget* w) {
            auto* box = qobject_cast<QInputDialog*>(w);
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QString("Opzioni ricalcolo"));
            QCOMPARE(box->labelText(), QString("Numero ricalcoli:"));
            QCOMPARE(box->textValue(), QString("0"));
            if (annulla) {
                box->reject();
                return;
            }
            Digita(box->findChild<QLineEdit*>(), testo);
            box->accept();
        });
    }

private slots:
    void initTestCase() { ZittisciAvvisiPiattaforma(); }

    void init() {
        main_ = new TMainForm;
        MostraAttiva(main_);
    }

    void cleanup() { ChiudiFinestraPrincipale(main_, risponditore_); }

    void defines_a_system_through_the_two_dialogs_of_eulero() {
        TDefinizione d = Decadimento(3, 2, 2);
        TVisto visto;
        risponditore_.Atteso(Compila(d, visto));
        risponditore_.Atteso(Compila(d, visto));
        CliccaPulsante("ToolButton4");
        QCOMPARE(visto.dialoghi, QStringList({"TDimensioniS", "TCoefficientiS"}));
        QCOMPARE(visto.passo, QString("0.01"));
        QCOMPARE(visto.intestazioniDiffusione, QStringList({"", "dB1", "dB2"}));
        QCOMPARE(visto.righeDiffusione, QStringList({"", "X1", "X2", "X3"}));
        QVERIFY(main_->Sistema());
        AttendiFine();
        QCOMPARE(Progresso()->maximum(), 1);
        QCOMPARE(Progresso()->value(), 1);
        QCOMPARE(main_->ContatorePassi(), 1);
        VerificaInattivo();
        QCOMPARE(main_->Sistema()->Dimensione(), 3);
        QCOMPARE(main_->Sistema()->Passo(), StrToFloat("0.01"));
        for (int k = 1; k <= 3; ++k)
            QVERIFY(std::abs(main_->Sistema()->Valore(k, 1) - std::exp(-1.0L)) < 0.01L);
    }

    void each_creation_command_builds_its_scheme_data() {
        QTest::addColumn<QString>("comando");
        QTest::addColumn<QStringList>("dialoghi");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("m");
        QTest::addColumn<int>("colonne");  // diffusion cells typed per row
        QTest::addColumn<QStringList>("intestazioni");
        QTest::addColumn<QString>("classe");
        QTest::newRow("Eulero 0.5") << "Eulero05" << QStringList{"TDimensioniS", "TCoefficientiS"}
                                    << 2 << 2 << 2 << QStringList{"", "dB1", "dB2"}
                                    << "TSistemaS05";
        QTest::newRow("Eulero 0.5, no motion")
            << "Eulero05" << QStringList{"TDimensioniS", "TCoefficientiS"} << 1 << 0 << 0
            << QStringList{""} << "TSistemaS05";
        QTest::newRow("Milstein 1.0")
            << "Milstein101" << QStringList{"TDimensioni", "TCoefficientiSD"} << 2 << 0 << 1
            << QStringList{"", "diagonale"} << "TSistemaS10";
        QTest::newRow("Uni 1.5") << "Uni151" << QStringList{"TCoefficientiS"} << 1 << 1 << 1
                                 << QStringList{"", "dB1"} << "TSistemaS15";
        QTest::newRow("Debole 1.0") << "N101" << QStringList{"TDimensioniS", "TCoefficientiS"}
                                    << 2 << 3 << 3 << QStringList{"", "dB1", "dB2", "dB3"}
                                    << "TSistemaW10";
        QTest::newRow("Runge-Kutta 5.0")
            << "RungeKutta401" << QStringList{"TDimensioni", "TCoefficienti"} << 2 << 0 << 0
            << QStringList{} << "TSistemaDRK";
        QTest::newRow("Implicit 1.0")
            << "Implicit101" << QStringList{"TDimensioni", "TCoefficienti"} << 3 << 0 << 0
            << QStringList{} << "TSistemaDI1";
    }
    void each_creation_command_builds_its_scheme() {
        QFETCH(QString, comando);
        QFETCH(QStringList, dialoghi);
        QFETCH(int, n);
        QFETCH(int, m);
        QFETCH(int, colonne);
        QFETCH(QStringList, intestazioni);
        QFETCH(QString, classe);
        const TDefinizione d = Decadimento(n, m, colonne);
        TVisto visto;
        Definisci(qPrintable(comando), d, visto, static_cast<int>(dialoghi.size()));
        QCOMPARE(visto.dialoghi, dialoghi);
        QCOMPARE(visto.intestazioniDiffusione, intestazioni);
        QCOMPARE(visto.diffusioneVisibile, colonne > 0);
        TSistema* sistema = main_->Sistema();
        QVERIFY(sistema);
        QCOMPARE(Classe(sistema), classe);
        AttendiFine();
        QCOMPARE(Progresso()->value(), 1);
        QCOMPARE(sistema->Dimensione(), n);
        for (int k = 1; k <= n; ++k) {
            QCOMPARE(QString::fromStdString(sistema->Deriva(k).Text()), d.derive[k - 1]);
            for (int j = 1; j <= colonne; ++j)
                QCOMPARE(TestoDiffusione(sistema, k, j), d.diffusioni[k - 1][j - 1]);
            // x' = -x from 1 with no noise: every scheme lands near 1/e at t = 1.
            QVERIFY2(std::abs(sistema->Valore(k, 1) - std::exp(-1.0L)) < 0.01L,
                     qPrintable(QString::number(static_cast<double>(sistema->Valore(k, 1)))));
        }
    }

    void cancel_in_either_dialog_changes_nothing_data() {
        QTest::addColumn<int>("annullato");  // which dialog is cancelled
        QTest::newRow("dimensions") << 0;
        QTest::newRow("coefficients") << 1;
    }
    void cancel_in_either_dialog_changes_nothing() {
        QFETCH(int, annullato);
        DefinisciSemplice();
        TSistema* prima = main_->Sistema();
        const TDefinizione d = Decadimento(2, 1, 1);
        TVisto visto;
        if (annullato == 1) risponditore_.Atteso(Compila(d, visto));
        risponditore_.Atteso([](QWidget* w) { Clicca(w, "CancelBtn"); });
        Azione("Eulero05")->trigger();
        QCOMPARE(main_->Sistema(), prima);
        VerificaInattivo();
    }

    void a_faulty_definition_keeps_the_previous_system_and_shows_the_report_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("messaggio");  // alone: no class, module or address
        QTest::addColumn<QString>("campoMostrato");  // current when the dialog shows again
        QTest::newRow("drift does not compile") << "deriva" << "sin("
            << "Function is not legal here! at position: 4." << "StringGrid2";
        QTest::newRow("diffusion does not compile") << "diffusione" << "x1+*2"
            << "Function is not legal here! at position: 3." << "StringGrid3";
        QTest::newRow("variable above the dimension") << "deriva" << "x5"
            << "Variable not allowed here! at position: 0." << "StringGrid2";
        QTest::newRow("origin is no number") << "origine" << "1.2.3"
            << "'1.2.3' is not a valid floating point value." << "StringGrid1";
        QTest::newRow("origin with the other separator") << "origine" << "0,5"
            << "'0,5' is not a valid floating point value." << "StringGrid1";
        QTest::newRow("end is no number")
            << "fine" << "abc" << "'abc' is not a valid floating point value." << "Fine";
        QTest::newRow("step zero") << "passo" << "0" << "Invalid step!" << "Passo";
    }
    void a_faulty_definition_keeps_the_previous_system_and_shows_the_report() {
        QFETCH(QString, campo);
        QFETCH(QString, testo);
        QFETCH(QString, messaggio);
        QFETCH(QString, campoMostrato);
        DefinisciSemplice();
        TSistema* prima = main_->Sistema();
        auto* legata = main_->Area()->addSubWindow(new QWidget);
        legata->show();
        QPointer<QMdiSubWindow> finestra(legata);
        main_->AffidaFinestraAlSistema(legata);

        TDefinizione d = Decadimento(1, 1, 1);
        if (campo == "deriva") d.derive = {testo};
        if (campo == "diffusione") d.diffusioni = {{testo}};
        if (campo == "origine") d.origini = {testo};
        if (campo == "fine") d.fine = testo;
        if (campo == "passo") d.passo = testo;
        TVisto visto;
        TMessaggio errore;
        risponditore_.Atteso(Compila(d, visto));
        risponditore_.Atteso(Compila(d, visto));
        risponditore_.Atteso(LeggiMessaggio(errore));
        // The dialog again, as the user left it, on the failing field; then Cancel.
        QString corrente;
        risponditore_.Atteso([&](QWidget* w) {
            auto* coefficienti = qobject_cast<TCoefficienti*>(w);
            QVERIFY(coefficienti);
            QWidget* campo = QApplication::focusWidget();
            if (auto* grid = qobject_cast<TStringGrid*>(campo)) {
                QVERIFY(grid->isVisible());
                corrente = grid->objectName() + ":" + grid->Cella(grid->currentColumn(),
                                                                  grid->currentRow());
            } else if (auto* edit = qobject_cast<QLineEdit*>(campo)) {
                corrente = edit->objectName() + ":" + edit->text();
            }
            Clicca(w, "CancelBtn");
        });
        Azione("Eulero05")->trigger();
        QCOMPARE(corrente, QString("%1:%2").arg(campoMostrato, testo));

        QCOMPARE(errore.testo, messaggio);
        QCOMPARE(errore.icona, QMessageBox::Critical);
        QCOMPARE(errore.pulsanti, 1);
        QCOMPARE(errore.titolo, QString(TitoloApplicazione));
        QCOMPARE(main_->Sistema(), prima);
        QVERIFY(finestra);
        VerificaInattivo();
        // The kept system still runs.
        CliccaPulsante("ToolButton1");
        AttendiFine();
        QCOMPARE(Progresso()->value(), 1);
    }

    void a_grid_that_leaves_the_plots_bare_is_announced_data() {
        QTest::addColumn<QString>("inizio");
        QTest::addColumn<QString>("fine");
        QTest::addColumn<QString>("passo");
        QTest::addColumn<QString>("avviso");  // how the warning starts
        QTest::newRow("step over the span") << "0" << "1" << "5" << "Il passo supera";
        QTest::newRow("end before start") << "1" << "0" << "-0.01" << "Fine non supera";
    }
    void a_grid_that_leaves_the_plots_bare_is_announced() {
        QFETCH(QString, inizio);
        QFETCH(QString, fine);
        QFETCH(QString, passo);
        QFETCH(QString, avviso);
        TDefinizione d = Decadimento(1, 1, 1);
        d.inizio = inizio;
        d.fine = fine;
        d.passo = passo;
        TVisto visto;
        TMessaggio letto;
        for (int i = 0; i < 2; ++i) risponditore_.Atteso(Compila(d, visto));
        risponditore_.Atteso(LeggiMessaggio(letto));
        Azione("Eulero05")->trigger();
        AttendiFine();
        QVERIFY(main_->Sistema());
        QVERIFY2(letto.testo.startsWith(avviso), qPrintable(letto.testo));
        QCOMPARE(letto.icona, QMessageBox::Warning);
    }

    void a_new_system_frees_the_windows_of_the_old_one() {
        DefinisciSemplice();
        auto* legata = main_->Area()->addSubWindow(new QWidget);
        auto* libera = main_->Area()->addSubWindow(new QWidget);
        legata->show();
        libera->show();
        QPointer<QMdiSubWindow> finestraLegata(legata);
        QPointer<QMdiSubWindow> finestraLibera(libera);
        main_->AffidaFinestraAlSistema(legata);
        DefinisciSemplice();
        QVERIFY(!finestraLegata);
        QVERIFY(finestraLibera);
    }

    void the_italian_separator_reads_and_shows_commas() {
        Azione("Italiano1")->trigger();
        TDefinizione d;
        d.origini = {"0,5"};
        d.derive = {"0,25"};
        d.diffusioni = {{"0"}};
        d.fine = "2";
        TVisto visto;
        Definisci("Eulero05", d, visto);
        QCOMPARE(visto.passo, QString("0,01"));
        AttendiFine();
        TSistema* sistema = main_->Sistema();
        QVERIFY(sistema);
        QCOMPARE(sistema->Origine(1), 0.5L);
        QCOMPARE(sistema->Passo(), StrToFloat("0,01"));
        QVERIFY(std::abs(sistema->Valore(1, 2) - 1.0L) < 1e-9L);
        // The grid dialog writes the current grid with the comma too.
        QStringList mostrato;
        risponditore_.Atteso([&](QWidget* w) {
            auto* parametri = qobject_cast<TParametri*>(w);
            QVERIFY(parametri);
            mostrato << parametri->Inizio()->text() << parametri->Fine()->text()
                     << parametri->Passo()->text();
            Clicca(w, "CancelBtn");
        });
        Azione("Opzioni1")->trigger();
        QCOMPARE(mostrato, QStringList({"0", "2", "0,01"}));
    }

    void ricalcola_n_runs_the_count_answered_data() {
        QTest::addColumn<QString>("risposta");  // empty: Cancel
        QTest::addColumn<int>("massimo");
        QTest::addColumn<int>("passi");
        QTest::addColumn<int>("icona");  // of the message shown instead of a run
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("three") << "3" << 3 << 3 << int(QMessageBox::NoIcon) << "";
        QTest::newRow("zero") << "0" << 0 << 0 << int(QMessageBox::NoIcon) << "";
        QTest::newRow("cancel") << "" << 0 << 0 << int(QMessageBox::NoIcon) << "";
        QTest::newRow("negative is refused")
            << "-3" << 1 << 1 << int(QMessageBox::Warning)
            << "Il numero di ricalcoli deve essere 0 o maggiore!";
        QTest::newRow("no integer") << "tre" << 1 << 1 << int(QMessageBox::Critical) << "tre";
    }
    void ricalcola_n_runs_the_count_answered() {
        QFETCH(QString, risposta);
        QFETCH(int, massimo);
        QFETCH(int, passi);
        QFETCH(int, icona);
        QFETCH(QString, messaggio);
        DefinisciSemplice();
        TMessaggio mostrato;
        RispondiConteggio(risposta, risposta.isEmpty());
        if (icona != QMessageBox::NoIcon) risponditore_.Atteso(LeggiMessaggio(mostrato));
        Azione("RicalcolaN1")->trigger();
        AttendiFine();
        QCOMPARE(int(mostrato.icona), icona);
        QVERIFY2(mostrato.testo.contains(messaggio), qPrintable(mostrato.testo));
        QCOMPARE(Progresso()->maximum(), massimo);
        QCOMPARE(Progresso()->value(), passi);
        QCOMPARE(main_->ContatorePassi(), passi);
        VerificaInattivo();
    }

    void interrompi_stops_a_long_run_early() {
        TVisto visto;
        Definisci("Eulero05", Pesante(), visto);
        AttendiFine();
        RispondiConteggio("50");
        Azione("RicalcolaN1")->trigger();
        QVERIFY(Azione("Interrompi")->isEnabled());
        QTRY_VERIFY(Progresso()->value() >= 1);
        CliccaPulsante("ToolButton2");
        // The bar lags the worker by up to one notification period, so the count is read
        // from the system: the path in progress at the click still completes, nothing after it.
        const int dopoClic = main_->Sistema()->PercorsiCompletati();
        AttendiFine();
        QVERIFY2(Progresso()->value() <= dopoClic + 1,
                 qPrintable(QString::number(Progresso()->value())));
        QVERIFY(Progresso()->value() < 50);
        QCOMPARE(main_->ContatorePassi(), Progresso()->value());
        VerificaInattivo();
    }

    void ricalcolo_parallelo_refuses_each_bad_value_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<QString>("messaggio");
        const QString percorsi = "Il numero di percorsi deve essere un intero da 0 a 2147483647!";
        const int massimo = 4 * static_cast<int>(std::thread::hardware_concurrency());
        const QString thread =
            QString("Il numero di thread deve essere un intero da 1 a %1!").arg(massimo);
        const QString seme = "Il seme deve essere un intero da 0 a 18446744073709551615!";
        QTest::newRow("paths no number") << "Percorsi" << "mille" << percorsi;
        QTest::newRow("negative paths") << "Percorsi" << "-1" << percorsi;
        QTest::newRow("threads no number") << "Thread" << "due" << thread;
        QTest::newRow("no threads") << "Thread" << "0" << thread;
        QTest::newRow("too many threads") << "Thread" << QString::number(massimo + 1) << thread;
        QTest::newRow("seed no number") << "Seme" << "12a" << seme;
        QTest::newRow("negative seed") << "Seme" << "-1" << seme;
        QTest::newRow("seed above 2^64-1") << "Seme" << "18446744073709551616" << seme;
    }
    void ricalcolo_parallelo_refuses_each_bad_value() {
        QFETCH(QString, campo);
        QFETCH(QString, valore);
        QFETCH(QString, messaggio);
        DefinisciSemplice();
        TMessaggio errore;
        bool restaAperto = false;
        risponditore_.Atteso([&](QWidget* w) {
            QVERIFY(qobject_cast<TRicalcoloParallelo*>(w));
            Digita(w->findChild<QLineEdit*>(campo), valore);
            // The warning is modal over the dialog: read it from inside its own loop.
            QTimer::singleShot(50, [&] {
                LeggiMessaggio(errore)(QApplication::activeModalWidget());
            });
            Clicca(w, "OKBtn");
            restaAperto = w->isVisible();
            Clicca(w, "CancelBtn");
        });
        Azione("RicalcoloParallelo1")->trigger();
        QCOMPARE(errore.testo, messaggio);
        QCOMPARE(errore.icona, QMessageBox::Warning);
        QVERIFY(restaAperto);
        QCOMPARE(main_->Sistema()->PercorsiCompletati(), 1);  // nothing started
        QCOMPARE(Progresso()->maximum(), 1);
        VerificaInattivo();
    }

    // Answers the dialog of "Ricalcolo &parallelo..." and checks its defaults.
    void RispondiParallelo(const QString& percorsi, const QString& thread, const QString& seme) {
        risponditore_.Atteso([=](QWidget* w) {
            auto* dialogo = qobject_cast<TRicalcoloParallelo*>(w);
            QVERIFY(dialogo);
            QCOMPARE(dialogo->windowTitle(), QString("Ricalcolo parallelo"));
            QCOMPARE(dialogo->Thread()->text(),
                     QString::number(std::thread::hardware_concurrency()));
            bool numero = false;
            dialogo->Seme()->text().toULongLong(&numero);
            QVERIFY(numero);
            Digita(dialogo->Percorsi(), percorsi);
            Digita(dialogo->Thread(), thread);
            Digita(dialogo->Seme(), seme);
            Clicca(w, "OKBtn");
        });
        Azione("RicalcoloParallelo1")->trigger();
    }

    // The statistics window shows the engine's own figures for the seed, bit for bit, and
    // the system the path of the highest index.
    void ricalcolo_parallelo_fills_the_statistics_with_the_seeds_figures() {
        TDefinizione d;
        d.origini = {"1"};
        d.derive = {"0.05*x1"};
        d.diffusioni = {{"0.2*x1"}};
        TVisto visto;
        Definisci("Eulero05", d, visto);
        AttendiFine();
        risponditore_.Atteso([](QWidget* w) {
            auto* dialogo = qobject_cast<TSperanza*>(w);
            QVERIFY(dialogo);
            Digita(dialogo->Funzione(), "x1");
            Digita(dialogo->Istante(), "1");
            Clicca(w, "OKBtn");
        });
        Azione("Speranza1")->trigger();
        auto* statistiche = main_->findChild<TSperanzaChild*>();
        QVERIFY(statistiche);
        RispondiParallelo("3000", "2", "77");
        AttendiFine();
        QCOMPARE(Progresso()->value(), 3000);

        auto x1 = std::make_shared<TRPNCompiler>();
        x1->SetText("x1");
        TEnsemble ensemble(*main_->Sistema(), {TOsservazione{x1, 1}}, 77);
        const TAccumulo atteso = TEnsemble::UnisciBlocchi(ensemble.Esegui(0, 3000, 1), 1)[0];
        QCOMPARE(statistiche->Osservazioni()->text(), QString("3000"));
        QCOMPARE(statistiche->Media()->text(), QString::fromStdString(FloatToStr(atteso.media)));
        QCOMPARE(statistiche->Varianza()->text(),
                 QString::fromStdString(FloatToStr(atteso.Varianza())));
        QCOMPARE(main_->Sistema()->Valore(1, 1),
                 const_cast<TSistema*>(ensemble.UltimoPercorso())->Valore(1, 1));
        VerificaInattivo();
    }

    void interrompi_stops_a_parallel_run() {
        TVisto visto;
        Definisci("Eulero05", Pesante(), visto);
        AttendiFine();
        RispondiParallelo("100000", "2", "1");
        QVERIFY(Azione("Interrompi")->isEnabled());
        QTRY_VERIFY(Progresso()->value() >= 1);
        CliccaPulsante("ToolButton2");
        AttendiFine();
        QVERIFY(Progresso()->value() < 100000);
        QCOMPARE(main_->ContatorePassi(), main_->Sistema()->PercorsiCompletati());
        QCOMPARE(Progresso()->value(), main_->ContatorePassi());
        VerificaInattivo();
    }

    void refuses_exit_while_running_and_accepts_it_after() {
        TVisto visto;
        Definisci("Eulero05", Pesante(), visto);
        AttendiFine();
        RispondiConteggio("50");
        Azione("RicalcolaN1")->trigger();
        TMessaggio rifiuto;
        risponditore_.Atteso(LeggiMessaggio(rifiuto));
        Azione("FileExitItem")->trigger();
        QVERIFY(main_->isVisible());
        QCOMPARE(rifiuto.icona, QMessageBox::Information);
        QVERIFY2(rifiuto.testo.contains("ricalcolo") && rifiuto.testo.contains("\"Interrompi\""),
                 qPrintable(rifiuto.testo));
        QVERIFY(main_->Sistema()->InEsecuzione());
        Azione("Interrompi")->trigger();
        // Until the path under way completes the run is ending, and says so.
        auto* stato = main_->findChild<QLabel*>("StatoRicalcolo");
        QCOMPARE(stato->text(), QString("Interruzione in corso..."));
        QVERIFY(!Azione("Interrompi")->isEnabled());
        AttendiFine();
        QCOMPARE(stato->text(), QString());
        Azione("FileExitItem")->trigger();
        QVERIFY(!main_->isVisible());
    }

    void opzioni_changes_the_grid_and_runs_again() {
        DefinisciSemplice();
        QStringList mostrato;
        risponditore_.Atteso([&](QWidget* w) {
            auto* parametri = qobject_cast<TParametri*>(w);
            QVERIFY(parametri);
            QCOMPARE(parametri->windowTitle(), QString("Parametri"));
            mostrato << parametri->Inizio()->text() << parametri->Fine()->text()
                     << parametri->Passo()->text();
            Digita(parametri->Fine(), "3");
            Digita(parametri->Passo(), "0.5");
            Clicca(w, "OKBtn");
        });
        QSignalSpy progresso(Progresso(), &QProgressBar::valueChanged);
        Azione("Opzioni1")->trigger();
        QCOMPARE(mostrato, QStringList({"0", "1", "0.01"}));
        AttendiFine();
        QCOMPARE(main_->Sistema()->Fine(), 3.0L);
        QCOMPARE(main_->Sistema()->Passo(), 0.5L);
        QCOMPARE(main_->Sistema()->NumPunti(), 8);
        QCOMPARE(Progresso()->value(), 1);
        QVERIFY(progresso.count() >= 1);
    }

    void opzioni_with_a_bad_number_keeps_the_grid() {
        DefinisciSemplice();
        TMessaggio errore;
        risponditore_.Atteso([](QWidget* w) {
            auto* parametri = qobject_cast<TParametri*>(w);
            QVERIFY(parametri);
            Digita(parametri->Inizio(), "-1");
            Digita(parametri->Passo(), "x");
            Clicca(w, "OKBtn");
        });
        risponditore_.Atteso(LeggiMessaggio(errore));
        Azione("Opzioni1")->trigger();
        QCOMPARE(errore.icona, QMessageBox::Critical);
        QCOMPARE(main_->Sistema()->Inizio(), 0.0L);
        QCOMPARE(main_->Sistema()->Passo(), StrToFloat("0.01"));
        VerificaInattivo();
    }

    void a_failing_run_shows_one_error_box_and_returns_to_idle() {
        // 200002 points: the path outgrows the table during the run.
        TDefinizione d = Decadimento(1, 1, 1);
        d.fine = "2000";
        TVisto visto;
        TMessaggio errore;
        risponditore_.Atteso(Compila(d, visto));
        risponditore_.Atteso(Compila(d, visto));
        risponditore_.Atteso(LeggiMessaggio(errore));
        Azione("Eulero05")->trigger();
        AttendiFine();
        // The message alone, under the main window's caption.
        QCOMPARE(errore.testo, QString("Range check error."));
        QCOMPARE(errore.titolo, main_->windowTitle());
        QCOMPARE(errore.icona, QMessageBox::Critical);
        QCOMPARE(errore.pulsanti, 1);
        QCOMPARE(main_->ContatorePassi(), 0);
        VerificaInattivo();
    }

    void freeing_the_window_during_a_run_stops_it() {
        TVisto visto;
        Definisci("Eulero05", Pesante(), visto);
        AttendiFine();
        RispondiConteggio("50");
        Azione("RicalcolaN1")->trigger();
        QTRY_VERIFY(Progresso()->value() >= 1);
        QElapsedTimer tempo;
        tempo.start();
        delete std::exchange(main_, nullptr);
        QVERIFY(tempo.elapsed() < 5000);
        main_ = new TMainForm;  // for cleanup
    }
};

QTEST_MAIN(TestComandi)
#include "test_comandi.moc"
