// TCalcoloDati: computes a plane's data table on a thread of its own, so that a fit or an
// export never holds up the window, and hands the table to the GUI thread when it is done.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

#include <QObject>

#include "plot/DatiPiano.h"

class TCalcoloDati {
public:
    using TCalcolo = std::function<std::optional<TDatiPiano>(const std::atomic<bool>& ferma)>;
    using TFatto = std::function<void(std::optional<TDatiPiano>)>;

    TCalcoloDati() = default;
    ~TCalcoloDati() { Ferma(); }
    TCalcoloDati(const TCalcoloDati&) = delete;
    TCalcoloDati& operator=(const TCalcoloDati&) = delete;

    // Stops a computation under way, then runs calcolo on a new thread; fatto runs in the
    // GUI thread with its result, unless the computation was stopped first or the context
    // object is gone.
    void Avvia(QObject* contesto, TCalcolo calcolo, TFatto fatto);
    // Asks the computation under way to stop and waits for it; its result is dropped.
    void Ferma();

private:
    std::thread thread_;
    std::atomic<bool> ferma_{false};
    unsigned generazione_ = 0;  // tells a dropped result from the current one
};
