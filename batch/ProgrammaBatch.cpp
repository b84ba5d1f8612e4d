#include "batch/ProgrammaBatch.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <thread>

#include "batch/CsvBatch.h"
#include "batch/EsecuzioneBatch.h"
#include "batch/OpzioniBatch.h"
#include "core/workspace/SalvaAtomico.h"

namespace {

// Paths done, paths per second and time left on one line of the terminal, twice a second.
class TProgresso {
public:
    TProgresso(std::uint64_t totale, std::atomic<std::uint64_t>& fatti)
        : thread_([totale, &fatti](std::stop_token stop) {
              const auto inizio = std::chrono::steady_clock::now();
              while (!stop.stop_requested()) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(500));
                  const double secondi =
                      std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio)
                          .count();
                  const auto n = fatti.load();
                  const double velocita = n / secondi;
                  std::fprintf(stderr, "\r%llu/%llu percorsi, %.0f percorsi/s, %.0f s rimanenti ",
                               static_cast<unsigned long long>(n),
                               static_cast<unsigned long long>(totale), velocita,
                               velocita > 0 ? (totale - n) / velocita : 0.0);
              }
              std::fprintf(stderr, "\n");
          }) {}

private:
    std::jthread thread_;
};

void Scrivi(const std::string& percorso, const std::string& testo) {
    if (percorso.empty())
        std::cout << testo << std::flush;
    else
        SalvaAtomico(percorso, testo);
}

}  // namespace

int ProgrammaBatch(std::span<const std::string> argomenti, IProcessi& processi,
                   const std::atomic<bool>& ferma) {
    const bool radice = processi.Rango() == 0;
    auto errore = [radice](const std::string& messaggio, int stato) {
        if (radice) std::cerr << "vantor-batch: " << messaggio << "\n";
        return stato;
    };
    // Every process reads the options and the file itself, so all of them refuse bad input
    // alike, before the first collective step.
    TOpzioniBatch opzioni;
    TLavoroBatch lavoro;
    try {
        opzioni = LeggiOpzioni(argomenti);
        if (opzioni.aiuto) {
            if (radice) std::cout << UsoBatch;
            return 0;
        }
        lavoro = PreparaLavoro(opzioni.file, opzioni.istanti);
    } catch (const std::exception& e) {
        if (radice && dynamic_cast<const EOpzioni*>(&e)) std::cerr << UsoBatch;
        return errore(e.what(), 2);
    }

    TParametriBatch parametri;
    parametri.percorsi = opzioni.percorsi;
    parametri.numThread = opzioni.thread.value_or(
        static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
    parametri.seme = opzioni.seme.value_or(lavoro.workspace.parallelo.seme.value_or(0));
    parametri.conValori = !opzioni.valori.empty();
    try {
        std::atomic<std::uint64_t> fatti{0};
        const bool terminale = radice && isatty(STDERR_FILENO);
        TRisultatoBatch risultato;
        {
            std::optional<TProgresso> progresso;
            const TQuota quota = QuotaDi(parametri.percorsi, 0, processi.Numero());
            if (terminale) progresso.emplace(quota.fine - quota.primo, fatti);
            risultato = EseguiBatch(lavoro, parametri, processi, ferma,
                                    terminale ? &fatti : nullptr);
        }
        if (!radice) return 0;
        Scrivi(opzioni.statistiche, CsvStatistiche(lavoro, risultato, parametri.percorsi));
        if (parametri.conValori) Scrivi(opzioni.valori, CsvValori(lavoro, risultato));
        if (risultato.completati < parametri.percorsi)
            return errore("interrotto dopo " + std::to_string(risultato.completati) +
                              " percorsi: i dati scritti sono incompleti",
                          130);
        return 0;
    } catch (const std::exception& e) {
        return errore(e.what(), 1);
    }
}
