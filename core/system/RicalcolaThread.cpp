#include "core/system/RicalcolaThread.h"

#include <utility>

#include "core/base/Exception.h"

TRicalcolaThread::TRicalcolaThread(TSistema& sistema, int conteggio,
                                   IThreadPrincipale& principale, TSistema::TNotifyEvent fine)
    : sistema_(sistema),
      conteggio_(conteggio),
      principale_(principale),
      fine_(std::move(fine)),
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
        for (int c = 1; c <= conteggio_; ++c) {
            if (Terminato()) break;
            sistema_.Ricalcola();
            if (!Sincronizza([this] { sistema_.Notifica(); })) return;
        }
    } catch (...) {
        if (!MostraErrore(RapportoEccezioneCorrente())) return;
    }
    AccodaFine();
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
    // thread object, so the closure keeps copies of everything it needs.
    principale_.Accoda([consegna = consegna_, sistema = &sistema_, fine = fine_] {
        {
            std::lock_guard lock(consegna->mutex);
            if (consegna->annullato) return;
        }
        sistema->FineEsecuzione();  // joins the finished worker
        if (fine) fine(*sistema);
    });
}
