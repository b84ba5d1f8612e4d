#include "batch/EsecuzioneBatch.h"

#include <cstring>

#include "core/system/Ensemble.h"

namespace {

constexpr std::uint64_t Blocco = TEnsemble::PercorsiPerBlocco;

// A process's share as bytes: an error message (empty when none), then each block (index,
// paths, one accumulator per function, and the values of its paths when kept).
class TScrittura {
public:
    template <class T>
    void Metti(const T& v) {
        testo_.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    void Metti(const std::string& s) {
        Metti(static_cast<std::uint64_t>(s.size()));
        testo_ += s;
    }
    std::string& Testo() { return testo_; }

private:
    std::string testo_;
};

class TLettura {
public:
    explicit TLettura(const std::string& testo) : testo_(testo) {}
    template <class T>
    T Prendi() {
        T v;
        std::memcpy(&v, testo_.data() + posizione_, sizeof v);
        posizione_ += sizeof v;
        return v;
    }
    std::string Stringa() {
        const auto n = Prendi<std::uint64_t>();
        std::string s = testo_.substr(posizione_, n);
        posizione_ += n;
        return s;
    }

private:
    const std::string& testo_;
    std::size_t posizione_ = 0;
};

}  // namespace

TQuota QuotaDi(std::uint64_t percorsi, int rango, int numero) {
    const std::uint64_t blocchi = (percorsi + Blocco - 1) / Blocco;
    const auto r = static_cast<std::uint64_t>(rango), p = static_cast<std::uint64_t>(numero);
    return {std::min(percorsi, blocchi * r / p * Blocco),
            std::min(percorsi, blocchi * (r + 1) / p * Blocco)};
}

TRisultatoBatch EseguiBatch(const TLavoroBatch& lavoro, const TParametriBatch& parametri,
                            IProcessi& processi, const std::atomic<bool>& ferma,
                            std::atomic<std::uint64_t>* fatti) {
    const std::size_t k = lavoro.osservazioni.size();
    const TQuota quota = QuotaDi(parametri.percorsi, processi.Rango(), processi.Numero());
    // Each path's values in their own slots: the workers never share one.
    std::vector<Extended> valori(parametri.conValori ? (quota.fine - quota.primo) * k : 0);
    TControlloEnsemble controllo{&ferma, {}, {}};
    if (fatti) controllo.percorsoCompletato = [fatti] { fatti->fetch_add(1); };
    if (parametri.conValori)
        controllo.valori = [&](std::uint64_t p, std::span<const Extended> v) {
            std::copy(v.begin(), v.end(), valori.begin() + static_cast<std::ptrdiff_t>(
                                                               (p - quota.primo) * k));
        };

    TScrittura scrittura;
    std::vector<TBloccoEnsemble> blocchi;
    try {
        TEnsemble ensemble(*lavoro.sistema, lavoro.osservazioni, parametri.seme);
        blocchi = ensemble.Esegui(quota.primo, quota.fine, parametri.numThread, controllo);
        scrittura.Metti(std::string());
    } catch (const std::exception& e) {
        scrittura.Metti(std::string(e.what()));
        blocchi.clear();
    }
    scrittura.Metti(static_cast<std::uint64_t>(blocchi.size()));
    for (const TBloccoEnsemble& b : blocchi) {
        scrittura.Metti(b.indice);
        scrittura.Metti(b.percorsi);
        for (const TAccumulo& a : b.campioni) {
            scrittura.Metti(a.conteggio);
            scrittura.Metti(a.media);
            scrittura.Metti(a.m2);
        }
        const std::uint64_t inizio = (b.indice * Blocco - quota.primo) * k;
        for (std::uint64_t j = 0; parametri.conValori && j < b.percorsi * k; ++j)
            scrittura.Metti(valori[inizio + j]);
    }

    TRisultatoBatch r;
    const std::vector<std::string> parti = processi.Raccogli(scrittura.Testo());
    if (parti.empty()) return r;
    std::vector<TBloccoEnsemble> tutti;
    for (const std::string& parte : parti) {
        TLettura lettura(parte);
        if (std::string errore = lettura.Stringa(); !errore.empty()) throw Exception(errore);
        const auto numero = lettura.Prendi<std::uint64_t>();
        for (std::uint64_t i = 0; i < numero; ++i) {
            TBloccoEnsemble& b = tutti.emplace_back();
            b.indice = lettura.Prendi<std::uint64_t>();
            b.percorsi = lettura.Prendi<std::uint64_t>();
            for (std::size_t f = 0; f < k; ++f) {
                TAccumulo& a = b.campioni.emplace_back();
                a.conteggio = lettura.Prendi<std::uint64_t>();
                a.media = lettura.Prendi<Extended>();
                a.m2 = lettura.Prendi<Extended>();
            }
            r.completati += b.percorsi;
            for (std::uint64_t j = 0; parametri.conValori && j < b.percorsi; ++j) {
                r.percorsiValori.push_back(b.indice * Blocco + j);
                for (std::size_t f = 0; f < k; ++f) r.valori.push_back(lettura.Prendi<Extended>());
            }
        }
    }
    r.campioni = TEnsemble::UnisciBlocchi(tutti, k);
    return r;
}
