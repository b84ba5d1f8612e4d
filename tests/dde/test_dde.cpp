// The link server as its users meet it: the window opened from the main window's menu, the
// real vantor-link as the client, raw bus calls for what the server refuses.
#include <csignal>
#include <cstring>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>

#include "core/base/Conversioni.h"
#include "core/system/SistemaS05.h"
#include "dde/NomiLink.h"
#include "dde/UDDETopic.h"
#include "tests/dde/BusPrivato.h"
#include "tests/ui/Modali.h"
#include "ui/frame/Main.h"

namespace {

using namespace NomiLink;

constexpr int Processi = 20000;  // ms for a client process on a busy machine

// A client that speaks to the server by hand, on its own connection, and keeps what it gets.
class TClienteGrezzo : public QObject {
    Q_OBJECT
public:
    explicit TClienteGrezzo(const QString& nome)
        : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, nome)) {
        bus_.connect(Servizio, Oggetto, Interfaccia, AdviseData, this,
                     SLOT(Dati(QString, QString, QByteArray)));
    }
    ~TClienteGrezzo() { QDBusConnection::disconnectFromBus(bus_.name()); }

    QDBusMessage Chiama(const QString& metodo, const QVariantList& argomenti,
                        const QString& oggetto = Oggetto) {
        QDBusMessage m = QDBusMessage::createMethodCall(Servizio, oggetto, Interfaccia, metodo);
        m.setArguments(argomenti);
        QDBusPendingCall attesa = bus_.asyncCall(m);
        // The server answers from this thread's event loop.
        if (!QTest::qWaitFor([&] { return attesa.isFinished(); }, 5000)) return {};
        return attesa.reply();
    }
    bool AdviseStart(const QString& item, const QString& formato = Formato) {
        const QDBusMessage r = Chiama(NomiLink::AdviseStart, {item, formato});
        return r.type() == QDBusMessage::ReplyMessage && r.arguments().value(0).toBool();
    }
    QDBusConnection& Bus() { return bus_; }

    QStringList items;
    QList<QByteArray> blocchi;

private slots:
    void Dati(const QString& item, const QString&, const QByteArray& blocco) {
        items << item;
        blocchi << blocco;
    }

private:
    QDBusConnection bus_;
};

struct TItem {
    std::vector<int> colonne;
    Extended t0, t1, dt;
};

}  // namespace

class TestDde : public QObject {
    Q_OBJECT

    TRisponditore risponditore_;
    TMainForm* main_ = nullptr;
    QTemporaryDir cartella_;

    TDDETopic* Topic() { return main_->findChild<TDDETopic*>(); }
    QTreeWidget* Lista() { return Topic()->ListView1(); }
    QStringList Riga(int i) {
        QTreeWidgetItem* riga = Lista()->topLevelItem(i);
        return {riga->text(0), riga->text(1), riga->text(2)};
    }
    void Apri() {
        main_->findChild<QAction*>("AvviaDDE1")->trigger();
        QVERIFY(Topic());
    }
    void Aggiorna() { QTest::mouseClick(Topic()->Aggiorna(), Qt::LeftButton); }
    bool Servito() {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(Servizio);
    }

    // Two components with noise, so that every run gives another path.
    void Definisci() {
        auto s = std::make_unique<TSistemaS05>();
        s->SetIntervallo(0, 1, 0.01L);
        s->SetDimensione(2, 1);
        for (int k = 1; k <= 2; ++k) {
            s->SetOrigine(k, k);
            s->Deriva(k).SetText(QString("0-x%1").arg(k).toStdString());
            s->Diffusione(k, 1).SetText("0.5");
        }
        main_->SetSistema(std::move(s));
        QTRY_VERIFY(!main_->Sistema()->InEsecuzione());
    }
    void Ricalcola() {
        main_->findChild<QAction*>("Ricalcola")->trigger();
        QTRY_VERIFY(!main_->Sistema()->InEsecuzione());
    }
    // The current path at the item's sample times, row by row; -1 outside the grid.
    std::vector<double> Attesi(const TItem& item) {
        std::vector<double> valori;
        const int righe = static_cast<int>(std::nearbyint((item.t1 - item.t0) / item.dt)) + 1;
        for (int j = 0; j < righe; ++j) {
            const Extended t = j * item.dt + item.t0;
            for (int c : item.colonne) {
                bool dentro = t >= main_->Sistema()->Inizio() && t <= main_->Sistema()->Fine();
                valori.push_back(c == 0   ? static_cast<double>(t)
                                 : dentro ? static_cast<double>(main_->Sistema()->Valore(c, t))
                                          : -1.0);
            }
        }
        return valori;
    }
    static std::vector<double> Valori(const QByteArray& blocco) {
        std::vector<double> valori((blocco.size() - 12) / 8);
        std::memcpy(valori.data(), blocco.constData() + 12, valori.size() * 8);
        return valori;
    }
    // The numbers of a CSV table, after checking its header.
    static std::vector<double> Csv(const QString& testo, const QString& intestazione) {
        QStringList righe = testo.split('\n', Qt::SkipEmptyParts);
        if (righe.isEmpty() || righe.takeFirst() != intestazione) return {};
        std::vector<double> valori;
        for (const QString& riga : righe)
            for (const QString& campo : riga.split(',')) valori.push_back(campo.toDouble());
        return valori;
    }
    static QString Leggi(const QString& percorso) {
        QFile file(percorso);
        return file.open(QIODevice::ReadOnly) ? QString(file.readAll()) : QString();
    }
    QProcess* Client(const QStringList& argomenti) {
        auto* p = new QProcess(this);
        p->start(VANTOR_LINK, argomenti);
        return p;
    }
    static void AttendiUscita(QProcess* p, int esito) {
        QTRY_COMPARE_WITH_TIMEOUT(p->state(), QProcess::NotRunning, Processi);
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), esito);
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
        for (QProcess* p : findChildren<QProcess*>()) {
            p->kill();
            p->waitForFinished();
            delete p;
        }
        SetDecimalSeparator('.');
        ControllaFineTest(risponditore_);
    }

    void serves_links_as_rows_and_pushes_only_on_aggiorna() {
        Apri();
        QVERIFY(Topic()->InServizio());
        QVERIFY(Servito());
        QCOMPARE(Topic()->windowTitle(), QString("Gestore collegamenti DDE"));
        QCOMPARE(Lista()->headerItem()->text(2), QString("DDE Format"));
        QVERIFY(Lista()->font().bold());
        QCOMPARE(Topic()->Aggiorna()->toolTip(), QString("Aggiorna link"));

        TClienteGrezzo cliente("a");
        QVERIFY(cliente.AdviseStart("0;1;0.5;0;1;"));
        QVERIFY(cliente.AdviseStart("0;10;1;"));
        QCOMPARE(Riga(0), QStringList({"0;1;0.5;0;1;", "Vtr", "XlTable"}));
        QCOMPARE(Lista()->topLevelItemCount(), 2);
        Aggiorna();  // no system yet
        Definisci();  // a completed run pushes nothing either
        QTest::qWait(200);
        QVERIFY(cliente.blocchi.isEmpty());

        Aggiorna();
        QTRY_COMPARE(cliente.blocchi.size(), 1);
        QTest::qWait(200);  // the item without columns sends nothing
        QCOMPARE(cliente.items, QStringList({"0;1;0.5;0;1;"}));
        const QByteArray blocco = cliente.blocchi[0];
        QCOMPARE(blocco.size(), 60);
        const QByteArray intestazione("\x10\0\4\0\3\0\2\0\1\0\x30\0", 12);
        QCOMPARE(blocco.left(12), intestazione);
        QCOMPARE(Valori(blocco), Attesi({{0, 1}, 0, 1, 0.5L}));

        cliente.Chiama(NomiLink::AdviseStop, {"0;1;0.5;0;1;"});
        QCOMPARE(Lista()->topLevelItemCount(), 1);
        QCOMPARE(Riga(0)[0], QString("0;10;1;"));

        // A second command brings the one window forward.
        QMdiSubWindow* altra = main_->Area()->addSubWindow(new QWidget);
        altra->show();
        main_->Area()->setActiveSubWindow(altra);
        main_->findChild<QAction*>("AvviaDDE1")->trigger();
        QCOMPARE(main_->findChildren<TDDETopic*>().size(), 1);
        QCOMPARE(main_->Area()->activeSubWindow()->widget(), Topic());

        main_->Area()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(Topic()->parent()));
        main_->Area()->closeActiveSubWindow();
        QTRY_VERIFY(!Topic());
        QTRY_VERIFY(!Servito());
        Apri();  // serves again after a close
        QVERIFY(Topic()->InServizio());
    }

    void a_push_during_a_run_waits_for_the_path_without_holding_the_window() {
        // One component and 99 motions on 130002 points: a path takes about a second.
        auto s = std::make_unique<TSistemaS05>();
        s->SetIntervallo(0, 1300, 0.01L);
        s->SetDimensione(1, 99);
        s->SetOrigine(1, 1);
        s->Deriva(1).SetText("0-x1");
        for (int j = 1; j <= 99; ++j) s->Diffusione(1, j).SetText("0.01*cos(x1)");
        Apri();
        TClienteGrezzo cliente("e");
        QVERIFY(cliente.AdviseStart("0;1300;13;0;1;"));
        main_->SetSistema(std::move(s));  // one path starts
        QElapsedTimer orologio;
        orologio.start();
        Aggiorna();
        Aggiorna();
        QVERIFY(orologio.elapsed() < 500);  // the path takes three times as long or more
        QVERIFY(main_->Sistema()->InEsecuzione());
        QTRY_VERIFY_WITH_TIMEOUT(!main_->Sistema()->InEsecuzione(), Processi);
        QTRY_COMPARE(cliente.blocchi.size(), 1);
        QTest::qWait(100);
        QCOMPARE(cliente.blocchi.size(), 1);  // two clicks, one push, of the complete path
        QCOMPARE(Valori(cliente.blocchi[0]), Attesi({{0, 1}, 0, 1300, 13}));

        // A run that ends without another path: the push is made at its end.
        main_->InizioRicalcolo(0);
        main_->Sistema()->Avvia(0);
        Topic()->AggiornaClick();
        QCOMPARE(cliente.blocchi.size(), 1);
        QTRY_COMPARE(cliente.blocchi.size(), 2);
        QCOMPARE(cliente.blocchi[1], cliente.blocchi[0]);
    }

    void answers_advise_start_as_the_item_and_format_allow_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("formato");
        QTest::addColumn<bool>("italiano");
        QTest::addColumn<bool>("accettato");
        QTest::newRow("english") << "0;1;0.5;0;1;" << "XlTable" << false << true;
        QTest::newRow("italian") << "0;1;0,5;0;1;" << "XlTable" << true << true;
        QTest::newRow("point with italian") << "0;1;0.5;0;1;" << "XlTable" << true << false;
        QTest::newRow("empty") << "" << "XlTable" << false << false;
        QTest::newRow("two fields") << "0;1" << "XlTable" << false << false;
        QTest::newRow("letters") << "a;b;c;" << "XlTable" << false << false;
        QTest::newRow("column no integer") << "0;1;0.1;x;" << "XlTable" << false << false;
        QTest::newRow("largest block") << "0;8190;1;1;" << "XlTable" << false << true;
        QTest::newRow("block too large") << "0;8191;1;1;" << "XlTable" << false << false;
        QTest::newRow("text format") << "0;1;0.5;0;1;" << "CF_TEXT" << false << false;
        QTest::newRow("format case") << "0;1;0.5;0;1;" << "xltable" << false << false;
    }
    void answers_advise_start_as_the_item_and_format_allow() {
        QFETCH(QString, item);
        QFETCH(QString, formato);
        QFETCH(bool, italiano);
        QFETCH(bool, accettato);
        if (italiano) main_->findChild<QAction*>("Italiano1")->trigger();
        Apri();
        TClienteGrezzo cliente("b");
        QCOMPARE(cliente.AdviseStart(item, formato), accettato);
        QCOMPARE(Lista()->topLevelItemCount(), accettato ? 1 : 0);
    }

    void refuses_requests_pokes_executes_and_other_objects() {
        Apri();
        TClienteGrezzo cliente("c");
        const std::pair<const char*, QVariantList> chiamate[] = {
            {"Request", {"0;1;0.5;0;1;", "XlTable"}},
            {"Poke", {"0;1;0.5;0;1;", "XlTable", QByteArray("x")}},
            {"Execute", {"[Ricalcola]"}}};
        for (const auto& [metodo, argomenti] : chiamate) {
            const QDBusMessage r = cliente.Chiama(metodo, argomenti);
            QCOMPARE(r.type(), QDBusMessage::ErrorMessage);
            QCOMPARE(r.errorName(), QString(ErroreNonServito));
        }
        const QDBusMessage altrove = cliente.Chiama(NomiLink::AdviseStart, {"0;1;1;0;", Formato},
                                                    "/Altro");
        QCOMPARE(altrove.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(Lista()->topLevelItemCount(), 0);
    }

    void vantor_link_writes_the_current_path_as_csv() {
        Definisci();
        Apri();
        const QString file = cartella_.filePath("una.csv");
        QProcess* client = Client({"--csv", file, "--once", "--", "-0.25;1.25;0.125;0;2;1;"});
        QTRY_COMPARE_WITH_TIMEOUT(Lista()->topLevelItemCount(), 1, Processi);
        Aggiorna();
        AttendiUscita(client, 0);
        QCOMPARE(Lista()->topLevelItemCount(), 0);  // --once ends its link
        QCOMPARE(Csv(Leggi(file), "t,X2,X1"), Attesi({{0, 2, 1}, -0.25L, 1.25L, 0.125L}));
    }

    void each_client_gets_its_blocks_until_it_leaves_or_the_window_closes() {
        Definisci();
        Apri();
        const QString item = "0;1;0.25;0;1;2;";
        const TItem campioni{{0, 1, 2}, 0, 1, 0.25L};
        const QString file = cartella_.filePath("viva.csv");
        QProcess* suFile = Client({"--csv", file, item});
        QProcess* suUscita = Client({item});
        QProcess* ucciso = Client({item});
        QTRY_COMPARE_WITH_TIMEOUT(Lista()->topLevelItemCount(), 3, Processi);
        ::kill(static_cast<pid_t>(ucciso->processId()), SIGKILL);
        QTRY_COMPARE(Lista()->topLevelItemCount(), 2);  // a dead client loses its link

        for (int giro = 0; giro < 2; ++giro) {
            if (giro > 0) Ricalcola();
            const std::vector<double> attesi = Attesi(campioni);
            Aggiorna();
            // Header and five rows, after the empty line that separates tables.
            QTRY_VERIFY(QString(suUscita->peek(1 << 16)).count('\n') >= 6 + giro);
            const QString uscito = suUscita->readAll();
            QCOMPARE(Csv(uscito.split("\n\n").last(), "t,X1,X2"), attesi);
            QTRY_COMPARE(Csv(Leggi(file), "t,X1,X2"), attesi);
        }

        ::kill(static_cast<pid_t>(suUscita->processId()), SIGTERM);
        AttendiUscita(suUscita, 0);
        QCOMPARE(Lista()->topLevelItemCount(), 1);  // it ended its own link only

        qobject_cast<QMdiSubWindow*>(Topic()->parent())->close();
        AttendiUscita(suFile, 1);
        QVERIFY(suFile->readAllStandardError().contains("has closed"));
        QVERIFY(!Servito());
    }

    void vantor_link_says_why_it_cannot_link_data() {
        QTest::addColumn<bool>("finestra");
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("esito");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("no server") << false << "0;1;0.5;1;" << 1 << "no link server";
        QTest::newRow("not an item") << true << "0;1;0.5;1" << 2 << "is not an item";
        QTest::newRow("refused") << true << "a;b;c;1;" << 2 << "refused";
        QTest::newRow("no columns") << true << "0;10;1;" << 2 << "names no column";
    }
    void vantor_link_says_why_it_cannot_link() {
        QFETCH(bool, finestra);
        QFETCH(QString, item);
        QFETCH(int, esito);
        QFETCH(QString, messaggio);
        if (finestra) Apri();
        QProcess* client = Client({item});
        AttendiUscita(client, esito);
        QVERIFY(client->readAllStandardError().contains(messaggio.toUtf8()));
    }

    void another_owner_of_the_name_leaves_the_window_idle() {
        TClienteGrezzo altro("d");
        QVERIFY(altro.Bus().registerService(Servizio));
        Apri();
        QVERIFY(!Topic()->InServizio());
        QVERIFY(!Topic()->Aggiorna()->isEnabled());
        auto* stato = Topic()->findChild<QLabel*>("Stato");
        QVERIFY(stato->isVisible() && stato->text().contains(Servizio));
    }

    void gdbus_reaches_the_server_as_the_readme_shows() {
        Apri();
        QProcess gdbus;
        gdbus.start("gdbus", {"call", "--session", "--dest", Servizio, "--object-path", Oggetto,
                              "--method", "org.vantor.Quenlor.AdviseStart", "0;1;0.5;0;1;",
                              "XlTable"});
        QTRY_COMPARE_WITH_TIMEOUT(gdbus.state(), QProcess::NotRunning, Processi);
        QCOMPARE(gdbus.readAllStandardOutput(), QByteArray("(true,)\n"));
        QTRY_COMPARE(Lista()->topLevelItemCount(), 0);  // its link ended with it
        gdbus.start("gdbus", {"introspect", "--session", "--dest", Servizio, "--object-path",
                              Oggetto});
        QTRY_COMPARE_WITH_TIMEOUT(gdbus.state(), QProcess::NotRunning, Processi);
        const QByteArray interfaccia = gdbus.readAllStandardOutput();
        for (const char* nome : {"AdviseStart(", "AdviseStop(", "AdviseData("})
            QVERIFY2(interfaccia.contains(nome), interfaccia.constData());
    }
};

int main(int argc, char* argv[]) {
    TBusPrivato bus;  // before anything connects to a bus
    QApplication app(argc, argv);
    TestDde test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_dde.moc"
