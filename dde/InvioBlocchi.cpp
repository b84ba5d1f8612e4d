#include "dde/InvioBlocchi.h"

#include <chrono>
#include <deque>
#include <set>

#include <QDBusMessage>
#include <sys/resource.h>
#include <unistd.h>

#include "core/system/Sistema.h"
#include "dde/NomiLink.h"

struct TInvioBlocchi::TUso {
    std::mutex mutex;  // held by the sending thread while it builds a block
    TSistema* sistema = nullptr;  // null once the system has been freed
    TSistema::TNotifica* ascolto = nullptr;  // the record that goes with the system
};

TInvioBlocchi::TInvioBlocchi(QDBusConnection bus, TAvviso avviso)
    : bus_(std::move(bus)), avviso_(std::move(avviso)), thread_([this] { Lavora(); }) {}

TInvioBlocchi::~TInvioBlocchi() {
    {
        std::lock_guard blocco(mutex_);
        fine_ = true;
    }
    lavoro_.notify_one();
    thread_.join();
    if (usoCorrente_ && usoCorrente_->sistema)
        usoCorrente_->sistema->RimuoviNotifica(usoCorrente_->ascolto);
}

std::shared_ptr<TInvioBlocchi::TUso> TInvioBlocchi::Uso(TSistema& sistema) {
    // Only the GUI thread frees systems and writes uso->sistema, so it reads it unlocked.
    if (usoCorrente_ && usoCorrente_->sistema == &sistema) return usoCorrente_;
    auto uso = std::make_shared<TUso>();
    uso->sistema = &sistema;
    // A listener record goes with its system: then this guard waits for the block being
    // built, and the pushes read that system no more.
    std::shared_ptr<void> guardia(nullptr, [uso](void*) {
        std::lock_guard blocco(uso->mutex);
        uso->sistema = nullptr;
    });
    uso->ascolto = sistema.AggiungiNotifica([guardia](TSistema&) {});
    usoCorrente_ = uso;
    return uso;
}

void TInvioBlocchi::Spingi(TSistema& sistema, std::vector<TLinkDaInviare> link) {
    std::shared_ptr<TUso> uso = Uso(sistema);
    {
        std::lock_guard blocco(mutex_);
        if (!primoBloccoInviato_ && !inAttesa_) return;
        inAttesa_ = TSpinta{std::move(uso), std::move(link)};
    }
    lavoro_.notify_one();
}

void TInvioBlocchi::Lavora() {
    // When both want the processor, the GUI thread comes first (a thread's own nice value).
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
    for (;;) {
        TSpinta spinta;
        {
            std::unique_lock blocco(mutex_);
            lavoro_.wait(blocco, [this] { return fine_ || inAttesa_; });
            if (fine_) return;
            spinta = std::move(*inAttesa_);
            inAttesa_.reset();
            primoBloccoInviato_ = false;
        }
        Esegui(spinta);
        std::lock_guard blocco(mutex_);
        primoBloccoInviato_ = true;
    }
}

bool TInvioBlocchi::NuovaSpinta() {
    std::lock_guard blocco(mutex_);
    return fine_ || inAttesa_;
}

void TInvioBlocchi::Esegui(TSpinta& spinta) {
    std::deque<const TLinkDaInviare*> coda;
    std::set<QString> presenti;
    for (const TLinkDaInviare& link : spinta.link) {
        presenti.insert(link.cliente);
        if (!link.dati.Colonne.empty()) coda.push_back(&link);  // no columns, no data
    }
    std::erase_if(clienti_, [&](const auto& c) { return !presenti.contains(c.first); });
    std::vector<const TLinkDaInviare*> sospesi;  // their clients owe an answer
    while (!coda.empty() || !sospesi.empty()) {
        if (coda.empty()) {
            // Only clients past their limit are left. A newer push serves them instead.
            if (NuovaSpinta()) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            std::erase_if(sospesi, [&](const TLinkDaInviare* link) {
                TCliente& stato = clienti_[link->cliente];
                if (!Risposto(link->cliente, stato)) return false;
                if (!stato.nonLegge) coda.push_back(link);
                return true;
            });
            continue;
        }
        const TLinkDaInviare* link = coda.front();
        coda.pop_front();
        TCliente& stato = clienti_[link->cliente];
        if (PuoRicevere(link->cliente, stato)) {
            if (!Invia(spinta, *link, stato)) return;  // the system has been freed
        } else if (!stato.nonLegge) {
            sospesi.push_back(link);
        }
    }
}

bool TInvioBlocchi::PuoRicevere(const QString& cliente, TCliente& stato) {
    if (!Risposto(cliente, stato)) return false;
    if (!stato.nonLegge && stato.nonLetti < LimiteNonLetti) return true;
    // Every earlier message is read once the client answers a ping sent after them.
    QDBusMessage ping = QDBusMessage::createMethodCall(cliente, "/", "org.freedesktop.DBus.Peer",
                                                       "Ping");
    stato.ping = bus_.asyncCall(ping, AttesaRisposta);
    return false;
}

bool TInvioBlocchi::Risposto(const QString& cliente, TCliente& stato) {
    if (!stato.ping) return true;
    if (!stato.ping->isFinished()) return false;
    const bool letto = !stato.ping->isError();
    stato.ping.reset();
    if (letto) stato.nonLetti = 0;
    if (letto == stato.nonLegge) {
        stato.nonLegge = !letto;
        avviso_(cliente, stato.nonLegge);
    }
    return true;
}

bool TInvioBlocchi::Invia(TSpinta& spinta, const TLinkDaInviare& link, TCliente& stato) {
    std::vector<std::uint8_t> blocco;
    {
        std::lock_guard uso(spinta.uso->mutex);
        if (!spinta.uso->sistema) return false;
        try {
            const TItemData& d = link.dati;
            blocco = spinta.uso->sistema->Tabella(d.Colonne, d.T0, d.T1, d.DT);
        } catch (...) {
            return true;  // answered without data, as a link that cannot be built is
        }
    }
    {
        std::lock_guard attesa(mutex_);
        primoBloccoInviato_ = true;
    }
    QDBusMessage segnale = QDBusMessage::createTargetedSignal(
        link.cliente, NomiLink::Oggetto, NomiLink::Interfaccia, NomiLink::AdviseData);
    segnale << link.item << QString(NomiLink::Formato)
            << QByteArray(reinterpret_cast<const char*>(blocco.data()),
                          static_cast<qsizetype>(blocco.size()));
    bus_.send(segnale);
    stato.nonLetti += static_cast<std::int64_t>(blocco.size()) + 2 * link.item.size();
    return true;
}
