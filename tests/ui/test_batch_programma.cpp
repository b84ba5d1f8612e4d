// vantor-batch against the program: the same workspace file, seed and path count give, in
// the batch CSV, the very figures the statistics windows show after "Ricalcolo parallelo",
// for a fresh window and for one that continues a saved sample.
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/ui/Modali.h"
#include "ui/dialogs/URicalcoloParallelo.h"
#include "ui/frame/GestoreWorkspace.h"
#include "ui/frame/Main.h"
#include "ui/windows/USperanzaChild.h"

namespace {

const char* const Gbm = R"(versione = 1
separatore = "."
[sistema]
schema = "eulero05"
dimensione = 1
moti = 1
inizio = "0"
fine = "1"
passo = "0.01"
origine = ["1"]
deriva = ["0.1*x1"]
diffusione = [["0.2*x1"]]
[[finestra]]
tipo = "speranza"
geometria = [0, 0, 260, 180]
funzione = "x1"
istante = "1"
campioni = { numero = 500, media = "1.1043", scarti2 = "24.7" }
[[finestra]]
tipo = "speranza"
geometria = [260, 0, 260, 180]
funzione = "x1*x1-x0"
istante = "0.5"
)";

}  // namespace

class TestBatchProgramma : public QObject {
    Q_OBJECT

    TRisponditore risponditore_;
    TMainForm* main_ = nullptr;
    QTemporaryDir cartella_;

    QAction* Azione(const char* nome) { return main_->findChild<QAction*>(nome); }
    void AttendiFine() { QTRY_VERIFY_WITH_TIMEOUT(Azione("Eulero05")->isEnabled(), 120000); }

private slots:
    void initTestCase() { ZittisciAvvisiPiattaforma(); }
    void init() {
        main_ = new TMainForm;
        MostraAttiva(main_);
    }
    void cleanup() { ChiudiFinestraPrincipale(main_, risponditore_); }

    void batch_figures_equal_the_parallel_command() {
        const QString file = cartella_.filePath("gbm.toml");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(Gbm);
        f.close();
        QVERIFY(main_->Workspace()->Apri(file));
        AttendiFine();
        risponditore_.Atteso([](QWidget* w) {
            auto* dialogo = qobject_cast<TRicalcoloParallelo*>(w);
            QVERIFY(dialogo);
            Digita(dialogo->Percorsi(), "3000");
            Digita(dialogo->Thread(), "2");
            Digita(dialogo->Seme(), "77");
            Clicca(w, "OKBtn");
        });
        Azione("RicalcoloParallelo1")->trigger();
        AttendiFine();

        QProcess batch;
        batch.start(VANTOR_BATCH, {file, "--paths", "3000", "--seed", "77", "--threads", "1"});
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.exitCode(), 0);
        const QStringList righe = QString(batch.readAllStandardOutput()).split('\n');
        const QList<TSperanzaChild*> finestre = main_->findChildren<TSperanzaChild*>();
        QCOMPARE(finestre.size(), 2);
        for (TSperanzaChild* finestra : finestre) {
            const QString funzione = finestra->Distribuzione1().Osservazioni() > 3000
                                         ? "x1" : "x1*x1-x0";
            const QStringList riga = righe.filter(QRegularExpression("^" +
                QRegularExpression::escape(funzione) + ",")).value(0).split(',');
            QCOMPARE(riga.size(), 8);
            QCOMPARE(riga[2], finestra->Osservazioni()->text());
            QCOMPARE(riga[3], finestra->Media()->text());
            QCOMPARE(riga[4], finestra->Varianza()->text());
        }
        // The saved sample of 500 was continued, by the program and by the batch alike.
        QCOMPARE(finestre[0]->Osservazioni()->text().toInt() +
                     finestre[1]->Osservazioni()->text().toInt(), 3500 + 3000);
    }
};

QTEST_MAIN(TestBatchProgramma)
#include "test_batch_programma.moc"
