// The link server against clients written from the bus protocol alone that behave as careless
// or hostile programs would: huge calls, long items, many full links, a client that never
// reads. Each is a separate process (cliente_ostile) on a bus that the test starts itself.
#include <memory>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QProcess>
#include <QTreeWidget>
#include <QtTest>

#include "bench/RitardoGui.h"
#include "core/system/SistemaS05.h"
#include "dde/InvioBlocchi.h"
#include "dde/NomiLink.h"
#include "dde/UDDETopic.h"
#include "tests/dde/BusPrivato.h"

namespace {

constexpr int Processi = 60000;  // ms for a client process on a busy machine
const QString Pieno = "0;8190;1;1;";         // 8191 values, the largest block
const QString Fuori = "-9000;-810;1;1;";     // 8191 values, all before the grid

}  // namespace

class TestLinkOstile : public QObject {
    Q_OBJECT

    std::unique_ptr<TSistemaS05> sistema_;
    std::unique_ptr<TDDETopic> topic_;
    QHash<QProcess*, QByteArray> uscite_;

    void Apri(QDBusConnection bus = QDBusConnection::sessionBus()) {
        topic_ = std::make_unique<TDDETopic>([this] { return sistema_.get(); }, bus);
        QVERIFY(topic_->InServizio());
    }
    int Righe() const { return topic_->ListView1()->topLevelItemCount(); }

    // A client process, on the given bus or the test's own.
    QProcess* Ostile(const QStringList& argomenti, const QString& bus = {},
                     const QString& programma = CLIENTE_OSTILE) {
        auto* p = new QProcess(this);
        if (!bus.isEmpty()) {
            QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
            ambiente.insert("DBUS_SESSION_BUS_ADDRESS", bus);
            p->setProcessEnvironment(ambiente);
        }
        p->start(programma, argomenti);
        return p;
    }
    // The lines the process has printed so far.
    QStringList Detto(QProcess* p) {
        uscite_[p] += p->readAllStandardOutput();
        return QString(uscite_[p]).split('\n', Qt::SkipEmptyParts);
    }
    bool HaDetto(QProcess* p, const QString& riga) { return Detto(p).contains(riga); }
    // An in-process client that asks for an ordinary link and says whether it got it.
    static bool LinkOrdinario() {
        QDBusMessage m = QDBusMessage::createMethodCall(NomiLink::Servizio, NomiLink::Oggetto,
                                                        NomiLink::Interfaccia,
                                                        NomiLink::AdviseStart);
        m << QString("0;1;0.5;0;1;") << QString(NomiLink::Formato);
        QDBusPendingCall attesa = QDBusConnection::sessionBus().asyncCall(m, 5000);
        if (!QTest::qWaitFor([&] { return attesa.isFinished(); }, 6000)) return false;
        return attesa.reply().arguments().value(0).toBool();
    }

private slots:
    void initTestCase() {
        sistema_ = std::make_unique<TSistemaS05>();
        sistema_->SetIntervallo(0, 8190, 1);
        sistema_->SetDimensione(1, 1);
        sistema_->SetOrigine(1, 1);
        sistema_->Deriva(1).SetText("0-0.001*x1");
        sistema_->Diffusione(1, 1).SetText("0.1");
        sistema_->Ricalcola();
    }

    void cleanup() {
        for (QProcess* p : findChildren<QProcess*>()) {
            p->kill();
            p->waitForFinished();
            delete p;
        }
        uscite_.clear();
        topic_.reset();
    }

    void huge_or_long_calls_are_refused_and_the_server_keeps_serving_data() {
        QTest::addColumn<int>("chiamate");
        QTest::addColumn<int>("byte");
        QTest::addColumn<QString>("risposta");
        QTest::newRow("one call of 64 MiB") << 1 << (64 << 20) << ErroreLungo();
        QTest::newRow("eight calls of 9 MB") << 8 << 9000000 << ErroreLungo();
        QTest::newRow("an item of 10 MB") << 1 << 10000000 << ErroreLungo();
        QTest::newRow("256 characters") << 1 << 256 << ErroreLungo();
        QTest::newRow("255 characters") << 1 << 255 << "true";
    }
    void huge_or_long_calls_are_refused_and_the_server_keeps_serving() {
        QFETCH(int, chiamate);
        QFETCH(int, byte);
        QFETCH(QString, risposta);
        Apri();
        TRitardoGui ritardo;
        QProcess* ostile = Ostile({"raffica", QString::number(chiamate), QString::number(byte)});
        QTRY_COMPARE_WITH_TIMEOUT(ostile->state(), QProcess::NotRunning, Processi);
        QCOMPARE(Detto(ostile), QStringList(chiamate, risposta));
        QVERIFY2(ritardo.Peggiore() < 250, qPrintable(QString::number(ritardo.Peggiore())));

        QVERIFY(LinkOrdinario());
        // Closing and opening the window again registers the name at once.
        QElapsedTimer orologio;
        orologio.start();
        topic_.reset();
        Apri();
        QVERIFY2(orologio.elapsed() < 2000, qPrintable(QString::number(orologio.elapsed())));
    }

    void pushing_100_full_links_leaves_the_gui_responsive() {
        Apri();
        QProcess* lettore = Ostile({"legge", "100", Fuori});
        QTRY_VERIFY_WITH_TIMEOUT(HaDetto(lettore, "pronto"), Processi);
        QCOMPARE(Righe(), 100);
        TRitardoGui ritardo;
        for (int spinta = 1; spinta <= 3; ++spinta) {
            topic_->AggiornaClick();
            QTRY_VERIFY_WITH_TIMEOUT(HaDetto(lettore, QString::number(100 * spinta)), 10000);
        }
        QVERIFY2(ritardo.Peggiore() < 50, qPrintable(QString::number(ritardo.Peggiore())));
    }

    void a_client_that_never_reads_is_set_aside_and_no_one_else_waits() {
        // A strict bus: 16 MiB queued for one connection. Three pushes to the silent client
        // would fill its queue, and then the bus would stop reading from the server.
        const long limite = 16 << 20;
        TBusPrivato stretto(limite, false);
        const QString indirizzo = QString::fromStdString(stretto.Indirizzo());
        QDBusConnection bus = QDBusConnection::connectToBus(indirizzo, "stretto");
        Apri(bus);
        QProcess* muto = Ostile({"muto", "64", Pieno}, indirizzo);
        QProcess* lettore = Ostile({"legge", "1", Pieno}, indirizzo);
        QTRY_VERIFY_WITH_TIMEOUT(HaDetto(muto, "pronto") && HaDetto(lettore, "pronto"), Processi);
        QCOMPARE(Righe(), 65);

        TRitardoGui ritardo;
        const int spinte = 3 * limite / (64 * 65536) + 1;
        for (int spinta = 1; spinta <= spinte; ++spinta) {
            topic_->AggiornaClick();
            QTRY_VERIFY2_WITH_TIMEOUT(HaDetto(lettore, QString::number(spinta)),
                                      qPrintable(QString("push %1").arg(spinta)), 5000);
        }
        QVERIFY2(ritardo.Peggiore() < 100, qPrintable(QString::number(ritardo.Peggiore())));
        // The silent client's 64 rows say so once it has failed to answer.
        const auto segnate = [this] {
            int n = 0;
            for (int i = 0; i < Righe(); ++i)
                n += topic_->ListView1()->topLevelItem(i)->toolTip(0).contains("non legge");
            return n;
        };
        QTRY_COMPARE_WITH_TIMEOUT(segnate(), 64, TInvioBlocchi::AttesaRisposta + 5000);
        cleanup();
        QDBusConnection::disconnectFromBus("stretto");
    }

    void vantor_link_ends_with_a_message_when_the_bus_goes() {
        auto altro = std::make_unique<TBusPrivato>(0, false);
        const QString indirizzo = QString::fromStdString(altro->Indirizzo());
        Apri(QDBusConnection::connectToBus(indirizzo, "altro"));
        QProcess* client = Ostile({"--once", "0;1;0.5;0;1;"}, indirizzo, VANTOR_LINK);
        QTRY_COMPARE_WITH_TIMEOUT(Righe(), 1, Processi);
        altro.reset();  // the daemon ends; the client may notice the name's end first
        QTRY_COMPARE_WITH_TIMEOUT(client->state(), QProcess::NotRunning, Processi);
        QCOMPARE(client->exitCode(), 1);
        const QByteArray messaggio = client->readAllStandardError();
        QVERIFY2(messaggio.contains("has closed") || messaggio.contains("the session bus is gone"),
                 messaggio.constData());
        topic_.reset();
        QDBusConnection::disconnectFromBus("altro");
    }

private:
    static QString ErroreLungo() { return NomiLink::ErroreTroppoLungo; }
};

int main(int argc, char* argv[]) {
    TBusPrivato bus;  // before anything connects to a bus
    QApplication app(argc, argv);
    TestLinkOstile test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_link_ostile.moc"
