#include "dde/client/ClienteLink.h"

#include <cstdio>
#include <span>

#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QSaveFile>
#include <QTimer>

#include "core/link/Csv.h"
#include "core/link/XlTable.h"
#include "dde/NomiLink.h"

namespace {

constexpr int AttesaRisposta = 10000;  // ms for the server to answer the link's start
constexpr char BusPerso[] = "cannot be reached: the session bus is gone";

void Avvisa(const QString& testo) {
    std::fprintf(stderr, "vantor-link: %s\n", qPrintable(testo));
}

}  // namespace

TClienteLink::TClienteLink(QDBusConnection bus, QString item, std::vector<int> colonne,
                           QString csv, bool once, QObject* parent)
    : QObject(parent),
      bus_(std::move(bus)),
      item_(std::move(item)),
      colonne_(std::move(colonne)),
      csv_(std::move(csv)),
      once_(once) {}

int TClienteLink::Avvia() {
    if (!bus_.isConnected()) {
        Avvisa("no session bus: " + bus_.lastError().message());
        return 1;
    }
    // Both before the link starts, so that neither a block nor the server's end is missed.
    // A new owner of the name is not the server that holds the link either.
    auto* servizio = new QDBusServiceWatcher(NomiLink::Servizio, bus_,
                                             QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(servizio, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& nuovo) {
                ServizioScomparso(!bus_.isConnected() ? BusPerso
                                  : nuovo.isEmpty()   ? "has closed"
                                                      : "passed to another program");
            });
    // A bus that goes away is not always reported as the name's end.
    auto* bus = new QTimer(this);
    connect(bus, &QTimer::timeout, this, [this] {
        if (!bus_.isConnected()) ServizioScomparso(BusPerso);
    });
    bus->start(500);
    if (!bus_.connect(NomiLink::Servizio, NomiLink::Oggetto, NomiLink::Interfaccia,
                      NomiLink::AdviseData, this,
                      SLOT(Dati(QString, QString, QByteArray)))) {
        Avvisa("cannot receive the link's signal: " + bus_.lastError().message());
        return 1;
    }
    QDBusMessage chiamata = QDBusMessage::createMethodCall(
        NomiLink::Servizio, NomiLink::Oggetto, NomiLink::Interfaccia, NomiLink::AdviseStart);
    chiamata << item_ << QString(NomiLink::Formato);
    const QDBusMessage risposta = bus_.call(chiamata, QDBus::Block, AttesaRisposta);
    if (risposta.type() != QDBusMessage::ReplyMessage) {
        Avvisa(QString("no link server %1 on the session bus (%2); open it in Vantor with "
                       "Strumenti > Avvia DDE...")
                   .arg(NomiLink::Servizio, risposta.errorMessage()));
        return 1;
    }
    if (!risposta.arguments().value(0).toBool()) {
        Avvisa(QString("the server refused the link on \"%1\": the item must read "
                       "T0;T1;DT;k1;...; with Vantor's decimal separator, and its table "
                       "must hold at most 8191 values")
                   .arg(item_));
        return 2;
    }
    attivo_ = true;
    return 0;
}

void TClienteLink::Termina(int esito) {
    if (attivo_) {
        attivo_ = false;
        QDBusMessage chiamata = QDBusMessage::createMethodCall(
            NomiLink::Servizio, NomiLink::Oggetto, NomiLink::Interfaccia, NomiLink::AdviseStop);
        chiamata << item_;
        bus_.call(chiamata, QDBus::Block, 2000);
    }
    emit Finito(esito);
}

void TClienteLink::ServizioScomparso(const char* come) {
    if (!attivo_) return;
    attivo_ = false;
    Avvisa(QString("the link server %1 %2").arg(NomiLink::Servizio, come));
    emit Finito(1);
}

void TClienteLink::Dati(const QString& item, const QString& formato, const QByteArray& blocco) {
    if (!attivo_ || item != item_ || formato != NomiLink::Formato) return;
    const auto tabella = DecodificaXlTable(std::span(
        reinterpret_cast<const std::uint8_t*>(blocco.constData()),
        static_cast<std::size_t>(blocco.size())));
    if (!tabella || static_cast<std::size_t>(tabella->colonne) != colonne_.size()) {
        Avvisa("a malformed block was ignored");
        return;
    }
    if (!Scrivi(CsvXlTable(colonne_, *tabella))) {
        Termina(1);
        return;
    }
    if (once_) Termina(0);
}

bool TClienteLink::Scrivi(const std::string& testo) {
    if (csv_.isEmpty()) {
        // Tables on standard output are separated by an empty line.
        if (blocchi_++ > 0) std::fputc('\n', stdout);
        std::fwrite(testo.data(), 1, testo.size(), stdout);
        return std::fflush(stdout) == 0;
    }
    // Written beside the file and renamed over it: a reader sees the old table or the new.
    QSaveFile file(csv_);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(testo.data(), static_cast<qint64>(testo.size())) ==
            static_cast<qint64>(testo.size()) &&
        file.commit())
        return true;
    Avvisa(QString("cannot write %1: %2").arg(csv_, file.errorString()));
    return false;
}
