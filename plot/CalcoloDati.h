// TCalcoloDati: computes a plane's data table on a thread of its own, so that a fit or an
// export never holds up the window, and hands the table to the GUI thread when it is done.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

#include <QObject>
#include <QPointer>

#include "plot/DatiPiano.h"

class TCalcoloDati {
public:
    using TCalcolo = std::function<std::optional<TDatiPiano>(const std::atomic<bool>& ferma)>;
    using TFatto = std::function<void(std::optional<TDatiPiano>)>;

    TCalcoloDati() = default;
    ~TCalcoloDati() { Ferma(); }
    TCalcoloDati(const TCalcoloDati&) = delete;
    TCalcoloDati& operator=(const TCalcoloDati&) = delete;

    // Stops a computation under way, then runs calcolo on a new thread; fatto runs later in
    // the GUI thread, once, with the table, or with nothing when the computation was stopped.
    // Neither runs once the context object is gone.
    void Avvia(QObject* contesto, TCalcolo calcolo, TFatto fatto);
    // Asks the computation under way to stop and waits for it.
    void Ferma();

private:
    void Consegna(unsigned generazione, std::optional<TDatiPiano> dati);

    std::thread thread_;
    std::atomic<bool> ferma_{false};
    QPointer<QObject> contesto_;
    TFatto fatto_;
    unsigned generazione_ = 0;  // tells a stopped computation's table from the current one
};
