#include "core/system/Ensemble.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>

#include "core/base/Exception.h"

// One thread's copy of the system with its stream; ultimo is the index of the path its copy
// holds (its highest, since blocks are taken in increasing order).
struct TEnsemble::Lavoratore {
    std::unique_ptr<TSistema> copia;
    TFlussoPhilox flusso;
    std::vector<Extended10> vettore;
    std::vector<Extended> valori;  // of the path just completed, one per observed function
    bool haPercorso = false;
    std::uint64_t ultimo = 0;
    std::exception_ptr errore;
};

TEnsemble::TEnsemble(const TSistema& modello, std::vector<TOsservazione> osservazioni,
                     std::uint64_t seme)
    : modello_(modello), osservazioni_(std::move(osservazioni)), seme_(seme) {}

TEnsemble::~TEnsemble() = default;

std::vector<TBloccoEnsemble> TEnsemble::Esegui(std::uint64_t primo, std::uint64_t fine,
                                               int numThread,
                                               const TControlloEnsemble& controllo) {
    if (numThread < 1) throw Exception("Invalid thread count!");
    if (primo % PercorsiPerBlocco != 0) throw Exception("Invalid first path!");
    const std::uint64_t numBlocchi =
        fine > primo ? (fine - primo + PercorsiPerBlocco - 1) / PercorsiPerBlocco : 0;
    std::vector<TBloccoEnsemble> blocchi(static_cast<std::size_t>(numBlocchi));
    for (std::uint64_t b = 0; b < numBlocchi; ++b) {
        blocchi[b].indice = primo / PercorsiPerBlocco + b;
        blocchi[b].campioni.resize(osservazioni_.size());
    }
    while (lavoratori_.size() < static_cast<std::size_t>(numThread)) {
        auto lavoratore = std::make_unique<Lavoratore>();
        lavoratore->copia = modello_.CopiaDiLavoro();
        lavoratore->copia->SetSorgenteCasuale(lavoratore->flusso);
        lavoratori_.push_back(std::move(lavoratore));
    }
    for (auto& l : lavoratori_) {
        l->haPercorso = false;
        l->errore = nullptr;
        l->valori.resize(osservazioni_.size());
    }

    std::atomic<std::uint64_t> prossimo{0};
    std::atomic<bool> errore{false};
    {
        std::vector<std::jthread> thread;
        for (int t = 1; t < numThread; ++t)
            thread.emplace_back([&, t] {
                Lavora(*lavoratori_[t], blocchi, prossimo, primo, fine, controllo, errore);
            });
        Lavora(*lavoratori_[0], blocchi, prossimo, primo, fine, controllo, errore);
    }
    for (int t = 0; t < numThread; ++t)
        if (lavoratori_[t]->errore) std::rethrow_exception(lavoratori_[t]->errore);
    return blocchi;
}

void TEnsemble::Lavora(Lavoratore& l, std::vector<TBloccoEnsemble>& blocchi,
                       std::atomic<std::uint64_t>& prossimo, std::uint64_t primo,
                       std::uint64_t fine, const TControlloEnsemble& controllo,
                       std::atomic<bool>& errore) {
    auto fermato = [&] {
        return errore.load(std::memory_order_relaxed) ||
               (controllo.ferma && controllo.ferma->load(std::memory_order_relaxed));
    };
    try {
        for (;;) {
            const std::uint64_t b = prossimo.fetch_add(1, std::memory_order_relaxed);
            if (b >= blocchi.size()) return;
            TBloccoEnsemble& blocco = blocchi[b];
            const std::uint64_t inizio = primo + b * PercorsiPerBlocco;
            const std::uint64_t termine = std::min(fine, inizio + PercorsiPerBlocco);
            for (std::uint64_t p = inizio; p < termine; ++p) {
                if (fermato()) return;
                l.flusso.Posiziona(seme_, p);
                l.copia->Ricalcola();
                l.haPercorso = true;
                l.ultimo = p;
                for (std::size_t i = 0; i < osservazioni_.size(); ++i) {
                    l.valori[i] = osservazioni_[i].Valuta(*l.copia, l.vettore);
                    blocco.campioni[i].Aggiungi(l.valori[i]);
                }
                ++blocco.percorsi;
                if (controllo.valori) controllo.valori(p, l.valori);
                if (controllo.percorsoCompletato) controllo.percorsoCompletato();
            }
        }
    } catch (...) {
        l.errore = std::current_exception();
        errore.store(true, std::memory_order_relaxed);
    }
}

std::vector<TAccumulo> TEnsemble::UnisciBlocchi(std::span<const TBloccoEnsemble> blocchi,
                                                std::size_t numOsservazioni) {
    std::vector<TAccumulo> totale(numOsservazioni);
    for (const TBloccoEnsemble& blocco : blocchi)
        for (std::size_t i = 0; i < numOsservazioni && i < blocco.campioni.size(); ++i)
            totale[i].Unisci(blocco.campioni[i]);
    return totale;
}

const TSistema* TEnsemble::UltimoPercorso() const {
    const Lavoratore* migliore = nullptr;
    for (const auto& l : lavoratori_)
        if (l->haPercorso && (!migliore || l->ultimo > migliore->ultimo)) migliore = l.get();
    return migliore ? migliore->copia.get() : nullptr;
}
