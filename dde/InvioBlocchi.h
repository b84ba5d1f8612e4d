// TInvioBlocchi: the thread that pushes the links' blocks. It builds each block from the path
// under the system's read lock and sends it to its client as soon as it is built, so that the
// GUI thread neither builds blocks nor waits for a run or for a client. A client may hold at
// most LimiteNonLetti bytes it has not read yet; past that its next blocks wait for it to
// answer a ping, and a client that does not answer loses the rest of the push.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QString>

#include "core/link/ItemData.h"

class TSistema;

// One link of a push: who gets the block, under which item, built from what.
struct TLinkDaInviare {
    QString cliente;  // unique bus name
    QString item;     // as the client sent it
    TItemData dati;
};

class TInvioBlocchi {
public:
    // Bytes a client may have left unread before the next block waits for its answer.
    static constexpr std::int64_t LimiteNonLetti = 4 << 20;
    // How long a client has to answer the ping before it is held to be not reading.
    static constexpr int AttesaRisposta = 3000;  // ms

    // Told, in the sending thread, when a client stops or starts reading again.
    using TAvviso = std::function<void(const QString& cliente, bool nonLegge)>;

    TInvioBlocchi(QDBusConnection bus, TAvviso avviso);
    // Abandons the push under way and joins the thread.
    ~TInvioBlocchi();
    TInvioBlocchi(const TInvioBlocchi&) = delete;
    TInvioBlocchi& operator=(const TInvioBlocchi&) = delete;

    // GUI thread: pushes the links from the system's path. A push that has not sent its first
    // block yet (it waits for a path in progress) already takes the newest path, so it absorbs
    // this one; otherwise this one follows it, replacing any other that waits.
    void Spingi(TSistema& sistema, std::vector<TLinkDaInviare> link);

private:
    struct TUso;  // the system a push reads, cleared when the system is freed
    struct TSpinta {
        std::shared_ptr<TUso> uso;
        std::vector<TLinkDaInviare> link;
    };
    struct TCliente {
        std::int64_t nonLetti = 0;            // bytes sent since its last answer
        std::optional<QDBusPendingCall> ping;  // asked after the last block sent
        bool nonLegge = false;
    };

    std::shared_ptr<TUso> Uso(TSistema& sistema);
    void Lavora();
    void Esegui(TSpinta& spinta);
    // Whether the block may go now; sends the ping when the client reaches its limit.
    bool PuoRicevere(const QString& cliente, TCliente& stato);
    // The ping's outcome: true once answered, also marking a client that fails to answer.
    bool Risposto(const QString& cliente, TCliente& stato);
    // Builds and sends the link's block; false once the system has been freed.
    bool Invia(TSpinta& spinta, const TLinkDaInviare& link, TCliente& stato);
    bool NuovaSpinta();

    QDBusConnection bus_;
    TAvviso avviso_;
    std::shared_ptr<TUso> usoCorrente_;  // GUI thread
    std::map<QString, TCliente> clienti_;  // sending thread

    std::mutex mutex_;
    std::condition_variable lavoro_;
    std::optional<TSpinta> inAttesa_;
    bool primoBloccoInviato_ = true;  // of the push under way, if any
    bool fine_ = false;
    std::thread thread_;
};
