#include "batch/OpzioniBatch.h"

#include <charconv>
#include <limits>

#include "core/base/Conversioni.h"

const char* const UsoBatch =
    "Uso: vantor-batch FILE [--paths N] [--threads T] [--seed S] [--out stats.csv]\n"
    "                       [--at t1,t2,...] [--values values.csv]\n"
    "Calcola N percorsi del sistema del workspace FILE e scrive in CSV, per ogni finestra\n"
    "di statistiche e per ogni componente a ogni istante di --at: funzione, istante,\n"
    "conteggio, media, varianza, errore standard e intervallo al 95 %.\n";

namespace {

template <class T>
T Intero(const std::string& opzione, const std::string& testo, T minimo, T massimo) {
    T valore{};
    const char* fine = testo.data() + testo.size();
    const auto [resto, errore] = std::from_chars(testo.data(), fine, valore);
    if (testo.empty() || errore != std::errc() || resto != fine || valore < minimo ||
        valore > massimo)
        throw EOpzioni(opzione + ": atteso un intero da " + std::to_string(minimo) + " a " +
                       std::to_string(massimo) + ", non \"" + testo + "\"");
    return valore;
}

std::vector<Extended> Istanti(const std::string& testo) {
    std::vector<Extended> istanti;
    std::size_t inizio = 0;
    for (;;) {
        const std::size_t virgola = testo.find(',', inizio);
        const std::string voce = testo.substr(inizio, virgola - inizio);
        Extended t = 0;
        if (!TryTextToExtended(voce, t))
            throw EOpzioni("--at: \"" + voce + "\" non e' un istante");
        istanti.push_back(t);
        if (virgola == std::string::npos) return istanti;
        inizio = virgola + 1;
    }
}

}  // namespace

TOpzioniBatch LeggiOpzioni(std::span<const std::string> argomenti) {
    TOpzioniBatch o;
    for (std::size_t i = 0; i < argomenti.size(); ++i) {
        std::string opzione = argomenti[i];
        if (opzione == "--help" || opzione == "-h") {
            o.aiuto = true;
            return o;
        }
        if (!opzione.starts_with("-") || opzione == "-") {
            if (!o.file.empty()) throw EOpzioni("un solo FILE, non anche \"" + opzione + "\"");
            o.file = opzione;
            continue;
        }
        std::string valore;
        if (const std::size_t uguale = opzione.find('='); uguale != std::string::npos) {
            valore = opzione.substr(uguale + 1);
            opzione.resize(uguale);
        } else if (i + 1 < argomenti.size()) {
            valore = argomenti[++i];
        } else {
            throw EOpzioni(opzione + ": manca il valore");
        }
        if (opzione == "--paths")
            o.percorsi = Intero<std::uint64_t>(opzione, valore, 1,
                                               std::numeric_limits<std::int64_t>::max());
        else if (opzione == "--threads")
            o.thread = Intero<int>(opzione, valore, 1, 1024);
        else if (opzione == "--seed")
            o.seme = Intero<std::uint64_t>(opzione, valore, 0,
                                           std::numeric_limits<std::uint64_t>::max());
        else if (opzione == "--out")
            o.statistiche = valore;
        else if (opzione == "--at")
            o.istanti = Istanti(valore);
        else if (opzione == "--values")
            o.valori = valore;
        else
            throw EOpzioni("opzione sconosciuta: " + opzione);
        if (valore.empty()) throw EOpzioni(opzione + ": manca il valore");
    }
    if (o.file.empty()) throw EOpzioni("manca il FILE del workspace");
    return o;
}
