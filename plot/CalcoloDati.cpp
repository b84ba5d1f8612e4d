#include "plot/CalcoloDati.h"

#include <utility>

void TCalcoloDati::Avvia(QObject* contesto, TCalcolo calcolo, TFatto fatto) {
    Ferma();
    ferma_.store(false, std::memory_order_relaxed);
    contesto_ = contesto;
    fatto_ = std::move(fatto);
    const unsigned generazione = ++generazione_;
    thread_ = std::thread([this, contesto, generazione, calcolo = std::move(calcolo)] {
        std::optional<TDatiPiano> dati = calcolo(ferma_);
        if (ferma_.load(std::memory_order_relaxed)) return;
        // The owner joins this thread before it goes, and a destroyed context drops the call.
        QMetaObject::invokeMethod(
            contesto,
            [this, generazione, dati = std::move(dati)]() mutable {
                Consegna(generazione, std::move(dati));
            },
            Qt::QueuedConnection);
    });
}

void TCalcoloDati::Consegna(unsigned generazione, std::optional<TDatiPiano> dati) {
    if (generazione != generazione_) return;  // stopped after it was sent
    if (thread_.joinable()) thread_.join();  // its last act was to send this
    if (TFatto fatto = std::exchange(fatto_, {})) fatto(std::move(dati));
}

void TCalcoloDati::Ferma() {
    ferma_.store(true, std::memory_order_relaxed);
    if (thread_.joinable()) thread_.join();
    ++generazione_;
    // The requester learns that nothing comes, later: Ferma runs inside the plane's setters.
    if (TFatto fatto = std::exchange(fatto_, {}); fatto && contesto_)
        QMetaObject::invokeMethod(
            contesto_, [fatto] { fatto(std::nullopt); }, Qt::QueuedConnection);
}
