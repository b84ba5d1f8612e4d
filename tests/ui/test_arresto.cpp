// Ending the program by a signal while a recalculation runs: the program, run as a child
// process, must stop and join the run, free the system and exit normally.
#include <csignal>
#include <cstdio>
#include <cstring>

#include <QProcess>
#include <QTimer>

#include "core/system/SistemaS05.h"
#include "tests/ui/Modali.h"
#include "ui/frame/Main.h"

namespace {

// The child: a main window running a long recalculation (or showing the error box of a
// failed one, with the recalculation thread waiting on it) until a signal ends it.
int Figlio(int argc, char* argv[], bool conErrore) {
    QApplication app(argc, argv);
    TMainForm main;
    main.InstallaArrestoOrdinato();
    main.show();
    auto sistema = std::make_unique<TSistemaS05>();
    sistema->SetIntervallo(0, conErrore ? 2000 : 1300, 0.01L);
    sistema->SetDimensione(1, 1);
    sistema->SetOrigine(1, 0.5L);
    sistema->Deriva(1).SetText("0-x1+sin(x0)*cos(x1)");
    sistema->Diffusione(1, 1).SetText("0.3*cos(x1)");
    main.SetSistema(std::move(sistema));
    bool lungo = false;
    QTimer controllo;
    QObject::connect(&controllo, &QTimer::timeout, [&] {
        if (conErrore) {
            if (QApplication::activeModalWidget()) std::puts("IN CORSO");
        } else if (!lungo && !main.Sistema()->InEsecuzione()) {
            lungo = true;
            main.InizioRicalcolo(100000);
            main.Sistema()->Avvia(100000);
        } else if (lungo && main.ContatorePassi() >= 2) {
            std::puts("IN CORSO");
        }
        std::fflush(stdout);
    });
    controllo.start(10);
    const int esito = app.exec();
    std::puts(main.Sistema() ? "SISTEMA ANCORA PRESENTE" : "LIBERATO");
    return esito;
}

}  // namespace

class TestArresto : public QObject {
    Q_OBJECT

    TRisponditore risponditore_;

private slots:
    void cleanup() { ControllaFineTest(risponditore_); }

    void a_signal_during_a_run_stops_it_and_exits_normally_data() {
        QTest::addColumn<int>("segnale");
        QTest::addColumn<QString>("modo");
        QTest::newRow("SIGTERM") << SIGTERM << "--corsa";
        QTest::newRow("SIGINT") << SIGINT << "--corsa";
        QTest::newRow("SIGHUP") << SIGHUP << "--corsa";
        QTest::newRow("SIGTERM on the error box") << SIGTERM << "--errore";
    }
    void a_signal_during_a_run_stops_it_and_exits_normally() {
        QFETCH(int, segnale);
        QFETCH(QString, modo);
        QProcess figlio;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert("QT_QPA_PLATFORM", "offscreen");
        figlio.setProcessEnvironment(ambiente);
        figlio.start(QCoreApplication::applicationFilePath(), {modo});
        QVERIFY(figlio.waitForStarted());
        QByteArray uscita;
        QDeadlineTimer scadenza(30000);
        while (!uscita.contains("IN CORSO") && !scadenza.hasExpired() &&
               figlio.state() == QProcess::Running) {
            figlio.waitForReadyRead(100);
            uscita += figlio.readAllStandardOutput();
        }
        QVERIFY2(uscita.contains("IN CORSO"), uscita.constData());
        QCOMPARE(::kill(static_cast<pid_t>(figlio.processId()), segnale), 0);
        QVERIFY(figlio.waitForFinished(20000));
        uscita += figlio.readAllStandardOutput();
        QCOMPARE(figlio.exitStatus(), QProcess::NormalExit);
        QCOMPARE(figlio.exitCode(), 0);
        QVERIFY2(uscita.trimmed().endsWith("LIBERATO"), uscita.constData());
    }
};

int main(int argc, char* argv[]) {
    const bool corsa = argc > 1 && std::strcmp(argv[1], "--corsa") == 0;
    const bool errore = argc > 1 && std::strcmp(argv[1], "--errore") == 0;
    if (corsa || errore) return Figlio(argc, argv, errore);
    QApplication app(argc, argv);
    TestArresto test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_arresto.moc"
