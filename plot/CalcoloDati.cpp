#include "plot/CalcoloDati.h"

void TCalcoloDati::Avvia(QObject* contesto, TCalcolo calcolo, TFatto fatto) {
    Ferma();
    ferma_.store(false, std::memory_order_relaxed);
    const unsigned generazione = ++generazione_;
    thread_ = std::thread([this, contesto, generazione, calcolo = std::move(calcolo),
                           fatto = std::move(fatto)]() mutable {
        std::optional<TDatiPiano> dati = calcolo(ferma_);
        if (ferma_.load(std::memory_order_relaxed)) return;
        // The owner joins this thread before it goes, and a destroyed context drops the call.
        QMetaObject::invokeMethod(
            contesto,
            [this, generazione, dati = std::move(dati), fatto = std::move(fatto)]() mutable {
                if (generazione != generazione_) return;  // stopped after it was sent
                if (thread_.joinable()) thread_.join();  // its last act was to send this
                fatto(std::move(dati));
            },
            Qt::QueuedConnection);
    });
}

void TCalcoloDati::Ferma() {
    ferma_.store(true, std::memory_order_relaxed);
    if (thread_.joinable()) thread_.join();
    ++generazione_;
}
