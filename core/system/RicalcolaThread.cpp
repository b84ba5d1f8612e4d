#include "core/system/RicalcolaThread.h"

#include <utility>

#include "core/base/Exception.h"
#include "core/system/Ensemble.h"

namespace {

std::int64_t Adesso() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The message of the exception in flight, as a sentence: what the user reads in the box.
std::string MessaggioEccezioneCorrente() {
    try {
        throw;
    } catch (const std::exception& e) {
        return Frase(e.what());
    } catch (...) {
        return RapportoEccezioneCorrente();
    }
}

}  // namespace

TRicalcolaThread::TRicalcolaThread(TSistema& sistema, int conteggio,
                                   IThreadPrincipale& principale, TSistema::TNotifyEvent fine,
                                   std::optional<TParallelo> parallelo)
    : sistema_(sistema),
      conteggio_(conteggio),
      principale_(principale),
      fine_(std::move(fine)),
      parallelo_(std::move(parallelo)),
      thread_([this] { Execute(); }) {}

TRicalcolaThread::~TRicalcolaThread() { Ferma(); }

void TRicalcolaThread::Ferma() {
    Termina();
    {
        std::lock_guard lock(consegna_->mutex);
        consegna_->annullato = true;
    }
    consegna_->fatto.notify_all();
    if (thread_.joinable()) thread_.join();
}

void TRicalcolaThread::Execute() {
    try {
        if (parallelo_)
            EseguiInParallelo();
        else
            EseguiInSerie();
    } catch (...) {
        if (!MostraErrore(MessaggioEccezioneCorrente())) return;
    }
    AccodaFine();
}

void TRicalcolaThread::EseguiInSerie() {
    std::vector<Extended10> vettore;
    for (int c = 1; c <= conteggio_; ++c) {
        if (Terminato()) break;
        sistema_.Ricalcola();
        sistema_.OsservaPercorso(vettore);
        PercorsoCompletato();
    }
}

void TRicalcolaThread::EseguiInParallelo() {
    TEnsemble ensemble(sistema_, parallelo_->osservazioni, parallelo_->seme);
    TControlloEnsemble controllo{&termina_, [this] { PercorsoCompletato(); }, {}};
    // Even an error keeps what was completed before it: the samples and the last path.
    std::vector<TBloccoEnsemble> blocchi;
    std::exception_ptr errore;
    try {
        blocchi = ensemble.Esegui(0, static_cast<std::uint64_t>(std::max(conteggio_, 0)),
                                  parallelo_->numThread, controllo);
    } catch (...) {
        errore = std::current_exception();
    }
    campioni_ = TEnsemble::UnisciBlocchi(blocchi, parallelo_->osservazioni.size());
    if (const TSistema* ultimo = ensemble.UltimoPercorso()) sistema_.CopiaPercorsoDa(*ultimo);
    if (errore) std::rethrow_exception(errore);
}

void TRicalcolaThread::PercorsoCompletato() {
    sistema_.completati_.fetch_add(1, std::memory_order_relaxed);
    Consegna& c = *consegna_;
    const std::int64_t adesso = Adesso();
    const std::int64_t intervallo =
        std::chrono::duration_cast<std::chrono::nanoseconds>(IntervalloNotifiche).count();
    if (adesso - c.ultimaNotifica.load(std::memory_order_relaxed) < intervallo) return;
    if (c.notificaInCoda.exchange(true)) return;
    c.ultimaNotifica.store(adesso, std::memory_order_relaxed);
    principale_.Accoda([consegna = consegna_, this] {
        {
            std::lock_guard lock(consegna->mutex);
            if (consegna->annullato) return;
        }
        consegna->notificaInCoda.store(false);
        // A failing listener ends the run: it is reported once, like an error of the worker.
        try {
            sistema_.Notifica();
        } catch (...) {
            Termina();
            if (sistema_.onErrore_) sistema_.onErrore_(MessaggioEccezioneCorrente());
        }
    });
}

bool TRicalcolaThread::Sincronizza(std::function<void()> routine) {
    const auto consegna = consegna_;
    {
        std::lock_guard lock(consegna->mutex);
        if (consegna->annullato) return false;
        consegna->eseguito = false;
        consegna->errore = nullptr;
    }
    principale_.Accoda([consegna, routine = std::move(routine)] {
        {
            std::lock_guard lock(consegna->mutex);
            if (consegna->annullato) return;
        }
        std::exception_ptr errore;
        try {
            routine();
        } catch (...) {
            errore = std::current_exception();
        }
        {
            std::lock_guard lock(consegna->mutex);
            consegna->eseguito = true;
            consegna->errore = errore;
        }
        consegna->fatto.notify_all();
    });
    std::unique_lock lock(consegna->mutex);
    consegna->fatto.wait(lock, [&] { return consegna->eseguito || consegna->annullato; });
    if (!consegna->eseguito) return false;
    if (consegna->errore) std::rethrow_exception(std::exchange(consegna->errore, nullptr));
    return true;
}

bool TRicalcolaThread::MostraErrore(const std::string& messaggio) {
    try {
        return Sincronizza([this, messaggio] {
            if (sistema_.onErrore_) sistema_.onErrore_(messaggio);
        });
    } catch (...) {
        return true;  // a failing error box must not take the worker down with it
    }
}

void TRicalcolaThread::AccodaFine() {
    {
        std::lock_guard lock(consegna_->mutex);
        if (consegna_->annullato) return;
    }
    // Runs after this worker has returned or is about to; the system then releases the
    // thread object, so the closure keeps copies of everything it needs. The listeners hear
    // of the final state first: the samples of a parallel run, then one notification.
    std::vector<TSistema::TNotifica*> ascoltatori;
    if (parallelo_) ascoltatori = parallelo_->ascoltatori;
    principale_.Accoda([consegna = consegna_, sistema = &sistema_, fine = fine_,
                        ascoltatori = std::move(ascoltatori), campioni = campioni_] {
        {
            std::lock_guard lock(consegna->mutex);
            if (consegna->annullato) return;
        }
        const std::shared_ptr<bool> vivo = sistema->vivo_;
        try {
            sistema->ConsegnaCampioni(ascoltatori, campioni);
            if (sistema->PercorsiCompletati() > 0) sistema->Notifica();
        } catch (...) {
            if (sistema->onErrore_) sistema->onErrore_(MessaggioEccezioneCorrente());
        }
        if (!*vivo) return;
        sistema->FineEsecuzione();  // joins the finished worker
        if (fine) fine(*sistema);
    });
}
