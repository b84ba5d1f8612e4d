// Workspace files in the main window: the examples open with their windows and give their
// models' known figures; saving and opening keep every field; a bad file changes nothing and
// names its place; unsaved changes are asked about; the command line opens a file.
#include <cmath>

#include <QFile>
#include <QInputDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/discrete/Bifurcation.h"
#include "core/system/Sistema.h"
#include "core/workspace/WorkspaceToml.h"
#include "tests/ui/Modali.h"
#include "tests/workspace/Casuale.h"
#include "ui/dialogs/UParametri.h"
#include "ui/frame/GestoreWorkspace.h"
#include "ui/frame/Main.h"
#include "ui/windows/UIterataChild.h"
#include "ui/windows/UIterazioneChild.h"
#include "ui/windows/USperanzaChild.h"
#include "ui/windows/UTraiettorieChild.h"

class TestFileWorkspace : public QObject {
    Q_OBJECT

    TRisponditore risponditore_;
    TMainForm* main_ = nullptr;
    QTemporaryDir cartella_;

    TGestoreWorkspace& Ws() { return *main_->Workspace(); }
    QAction* Azione(const char* nome) { return main_->findChild<QAction*>(nome); }
    static QString Esempio(const QString& nome) {
        return QString(VANTOR_ESEMPI) + "/" + nome + ".toml";
    }
    void AttendiFine() { QTRY_VERIFY_WITH_TIMEOUT(Azione("Eulero05")->isEnabled(), 120000); }
    // "Ricalcola &N..." answered with n, to the run's end.
    void RicalcolaN(int n) {
        risponditore_.Atteso([n](QWidget* w) {
            auto* dialogo = qobject_cast<QInputDialog*>(w);
            QVERIFY(dialogo);
            dialogo->setTextValue(QString::number(n));
            dialogo->accept();
        });
        Azione("RicalcolaN1")->trigger();
        AttendiFine();
    }
    template <class T>
    QList<T*> Finestre() {
        QList<T*> trovate;
        for (QMdiSubWindow* s : main_->Area()->subWindowList())
            if (auto* f = qobject_cast<T*>(s->widget())) trovate << f;
        return trovate;
    }

private slots:
    void initTestCase() {
        ZittisciAvvisiPiattaforma();
        QStandardPaths::setTestModeEnabled(true);
    }

    void init() {
        QSettings("Vantor", "vantor").clear();
        main_ = new TMainForm;
        MostraAttiva(main_);
    }

    void cleanup() { ChiudiFinestraPrincipale(main_, risponditore_); }

    // Each stochastic example's statistics window, after a run, estimates a known mean.
    void stochastic_examples_estimate_their_known_means_data() {
        QTest::addColumn<QString>("esempio");
        QTest::addColumn<int>("percorsi");
        QTest::addColumn<double>("media");
        QTest::addColumn<double>("bias");  // a bound on the scheme's own error
        QTest::newRow("gbm: e^mu") << "gbm" << 4000 << std::exp(0.1) << 0.001;
        QTest::newRow("ou: 1 + 2 e^-10") << "ou" << 3000 << 1 + 2 * std::exp(-10.0) << 0.0;
        QTest::newRow("kloeden-platen: e^1.5") << "kloeden-platen" << 2000 << std::exp(1.5)
                                               << 0.01;
        // The attractor's time average of z; the small noise barely moves it.
        QTest::newRow("lorenz-stocastico: 23.55") << "lorenz-stocastico" << 200 << 23.55 << 1.0;
    }
    void stochastic_examples_estimate_their_known_means() {
        QFETCH(QString, esempio);
        QFETCH(int, percorsi);
        QFETCH(double, media);
        QFETCH(double, bias);
        QVERIFY(Ws().Apri(Esempio(esempio)));
        RicalcolaN(percorsi);
        const TDistribuzione& d = Finestre<TSperanzaChild>().value(0)->Distribuzione1();
        QCOMPARE(d.Osservazioni(), percorsi);
        const long double errore = std::sqrt(d.Varianza() / d.Osservazioni());
        QVERIFY2(std::fabs(d.Media() - media) < 4 * errore + bias,
                 qPrintable(QString("mean %1, standard error %2")
                                .arg(double(d.Media()))
                                .arg(double(errore))));
        // Euler's stationary variance of the OU process is 0.0625 / (1 - dt).
        if (esempio == "ou")
            QVERIFY(std::fabs(d.Varianza() / (0.0625L / 0.995L) - 1) < 0.11);
    }

    void lorenz_stays_on_the_attractor_and_visits_both_wings() {
        QVERIFY(Ws().Apri(Esempio("lorenz")));
        AttendiFine();  // the path computed on opening
        TSistema& s = *main_->Sistema();
        int cambi = 0;
        for (Extended t = 5; t < 49.99L; t += 0.01L) {
            const Extended x = s.Valore(1, t), y = s.Valore(2, t), z = s.Valore(3, t);
            QVERIFY(std::fabs(x) < 21 && std::fabs(y) < 29 && z > 1 && z < 50);
            cambi += (x > 0) != (s.Valore(1, t + 0.01L) > 0);
        }
        QVERIFY2(cambi >= 20, qPrintable(QString::number(cambi)));
    }

    // Period from downward zero crossings of x1 after the transient.
    Extended PeriodoVanDerPol() {
        TSistema& s = *main_->Sistema();
        QList<Extended> discese;
        for (Extended t = 20; t < 59.99L; t += 0.001L)
            if (s.Valore(1, t) > 0 && s.Valore(1, t + 0.001L) <= 0) discese << t;
        return discese.size() < 2 ? 0 : discese.last() - discese[discese.size() - 2];
    }

    void van_der_pol_period_converges_at_first_order() {
        QVERIFY(Ws().Apri(Esempio("van-der-pol")));
        AttendiFine();
        Extended massimo = 0;
        for (Extended t = 20; t < 60; t += 0.01L)
            massimo = std::max(massimo, std::fabs(main_->Sistema()->Valore(1, t)));
        QVERIFY2(std::fabs(massimo - 2.014L) < 0.02, qPrintable(QString::number(double(massimo))));
        // The limit cycle's period at mu = 10 is 19.0787; halving the step halves the error.
        const Extended fine = 19.0787L - PeriodoVanDerPol();
        risponditore_.Atteso([](QWidget* w) {
            auto* parametri = qobject_cast<TParametri*>(w);
            QVERIFY(parametri);
            Digita(parametri->Passo(), "0.002");
            Clicca(w, "OKBtn");
        });
        Azione("Opzioni1")->trigger();
        AttendiFine();
        const Extended grosso = 19.0787L - PeriodoVanDerPol();
        QVERIFY2(fine > 0 && fine < 0.03L * 19.0787L && std::fabs(grosso / fine - 2) < 0.4,
                 qPrintable(QString("%1 %2").arg(double(fine)).arg(double(grosso))));
    }

    void logistic_windows_show_their_parameters_and_lyapunov_exponent() {
        QVERIFY(Ws().Apri(Esempio("logistica")));
        QCOMPARE(main_->Area()->subWindowList().size(), 4);
        QCOMPARE(Finestre<TIterazioneChild>().value(0)->TrackBar1()->Lambda(), 3.5L);
        QCOMPARE(Finestre<TIterazioneChild>().value(0)->PianoIterazione1()->Skip(), 100);
        QCOMPARE(Finestre<TIterataChild>().value(0)->PianoIterata1()->Lambda(), 3.2L);
        TTraiettorieChild* lyapunov = Finestre<TTraiettorieChild>().value(1);
        QCOMPARE(lyapunov->windowTitle(), QString("Esponente di Lyapunov"));
        // At 3.2 the orbit has period 2 and f'(x1) f'(x2) = 4 + 2 lambda - lambda^2 = 0.16.
        const Extended l = lyapunov->PianoTraiettorie1()->Funzione(0).Valore(3.2L);
        QVERIFY2(std::fabs(l - std::log(0.16L) / 2) < 1e-3,
                 qPrintable(QString::number(double(l))));
        QCOMPARE(lyapunov->Piano()->MinX(), 2.8L);
    }

    void saving_and_opening_keeps_every_field() {
        prova::TCasuale casuale(22);
        const QString primo = cartella_.filePath("primo.toml");
        const QString secondo = cartella_.filePath("secondo.toml");
        for (int i = 0; i < 6; ++i) {
            const TWorkspace ws = casuale.Workspace(true);
            QFile file(primo);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::fromStdString(ScriviWorkspace(ws)));
            file.close();
            QVERIFY(Ws().Apri(primo));
            QVERIFY(Ws().Attuale() == ws);
            QVERIFY(!Ws().Modificato());
            QVERIFY(Ws().Salva(secondo));
            QVERIFY(LeggiFileWorkspace(secondo.toStdString()).workspace == ws);
            AttendiFine();
        }
        // A minimized window comes back minimized.
        QVERIFY(Ws().Apri(Esempio("lorenz")));
        AttendiFine();
        main_->Area()->subWindowList()[1]->showMinimized();
        QVERIFY(Ws().Salva(secondo) && Ws().Apri(secondo));
        AttendiFine();
        QVERIFY(main_->Area()->subWindowList()[1]->isMinimized());
    }

    void a_bad_file_names_its_place_and_changes_nothing() {
        QVERIFY(Ws().Apri(Esempio("gbm")));
        const TWorkspace prima = Ws().Attuale();
        const QList<QMdiSubWindow*> finestre = main_->Area()->subWindowList();
        const TSistema* sistema = main_->Sistema();
        QFile esempio(Esempio("gbm"));
        QVERIFY(esempio.open(QIODevice::ReadOnly));
        const QString cattivo = cartella_.filePath("cattivo.toml");
        QFile file(cattivo);
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Line 15 of the example is its drift.
        file.write(esempio.readAll().replace("0.1*x1", "0.1*(x1"));
        file.close();
        TMessaggio errore;
        risponditore_.Atteso(LeggiMessaggio(errore));
        QVERIFY(!Ws().Apri(cattivo));
        QCOMPARE(errore.testo, cattivo +
                                   ":15: sistema.deriva[1]: Not enough parenthesis! at "
                                   "position: 7");
        QCOMPARE(main_->Sistema(), sistema);
        QCOMPARE(main_->Area()->subWindowList(), finestre);
        QVERIFY(Ws().Attuale() == prima);
        QCOMPARE(Ws().File(), Esempio("gbm"));
    }

    void unsaved_changes_are_asked_about_and_recent_files_listed() {
        QCOMPARE(main_->windowTitle(), QString("Sistemi Dinamici"));
        QVERIFY(!Azione("Recente1"));
        const QString copia = cartella_.filePath("ou.toml");
        QFile::remove(copia);
        QVERIFY(QFile::copy(Esempio("ou"), copia));
        QVERIFY(Ws().Apri(Esempio("gbm")));
        QVERIFY(Ws().Apri(copia));
        QCOMPARE(Azione("Recente1")->text(), QString("&1 ou.toml"));
        QCOMPARE(Azione("Recente2")->text(), QString("&2 gbm.toml"));
        QCOMPARE(main_->windowTitle(), QString("Sistemi Dinamici - ou.toml[*]"));
        AttendiFine();
        QVERIFY(!main_->isWindowModified());
        Azione("PianoCartesiano1")->trigger();
        QTRY_VERIFY(main_->isWindowModified());
        // Cancel keeps the window open; Discard lets it close.
        for (auto risposta : {QMessageBox::Cancel, QMessageBox::Discard})
            risponditore_.Atteso([risposta](QWidget* w) {
                auto* box = qobject_cast<QMessageBox*>(w);
                QVERIFY(box && box->text().contains("ou.toml"));
                box->button(risposta)->click();
            });
        QVERIFY(!main_->close());
        QVERIFY(main_->close());
        main_->show();
        // Save from the recent list's file: the title loses its mark.
        Azione("Salva1")->trigger();
        QVERIFY(!main_->isWindowModified());
        QVERIFY(LeggiFileWorkspace(copia.toStdString()).workspace.finestre.size() == 3);
    }

    void command_line_prints_help_and_version() {
        QProcess vantor;
        vantor.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        for (const QString opzione : {"--version", "--help"}) {
            vantor.start(VANTOR_ESEGUIBILE, {opzione});
            QVERIFY(vantor.waitForFinished(20000));
            QCOMPARE(vantor.exitCode(), 0);
            const QString uscita = vantor.readAllStandardOutput();
            QVERIFY2(uscita.contains(opzione == "--help" ? "[FILE]" : "1.0"), qPrintable(uscita));
        }
        vantor.start(VANTOR_ESEGUIBILE, {"a.toml", "b.toml"});
        QVERIFY(vantor.waitForFinished(20000));
        QCOMPARE(vantor.exitCode(), 2);
    }
};

QTEST_MAIN(TestFileWorkspace)
#include "test_file_workspace.moc"
