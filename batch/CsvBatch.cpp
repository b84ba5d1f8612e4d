#include "batch/CsvBatch.h"

#include <cmath>

#include "core/base/Conversioni.h"
#include "core/workspace/Campioni.h"

namespace {

// The quantile of the standard normal distribution at 0.975.
constexpr Extended Z975 = 1.95996398454005423552L;

// A field quoted when it holds a comma, a quote or a line break.
std::string Campo(const std::string& testo) {
    if (testo.find_first_of(",\"\n") == std::string::npos) return testo;
    std::string quotato = "\"";
    for (char c : testo) quotato += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quotato + "\"";
}

struct TFigure {
    std::uint64_t conteggio = 0;
    Extended media = 0, varianza = 0;
};

// As the statistics window computes them: a saved sample goes through its distribution, a
// fresh one is the accumulator itself (the same bits as the window's).
TFigure Figure(const TAccumulo& a, const TCampioni& iniziali) {
    if (iniziali.numero == 0) return {a.conteggio, a.media, a.Varianza()};
    TDistribuzione d = DistribuzioneDa(iniziali);
    d.Unisci(a);
    return {static_cast<std::uint64_t>(d.Osservazioni()), d.Media(), d.Varianza()};
}

}  // namespace

std::string CsvStatistiche(const TLavoroBatch& lavoro, const TRisultatoBatch& risultato,
                           std::uint64_t richiesti) {
    std::string csv = "funzione,istante,conteggio,media,varianza,errore_standard,"
                      "intervallo95_inf,intervallo95_sup\n";
    for (std::size_t i = 0; i < lavoro.funzioni.size(); ++i) {
        const TFunzioneBatch& f = lavoro.funzioni[i];
        const TFigure g = Figure(risultato.campioni[i], f.iniziali);
        csv += Campo(f.testo) + "," + FloatToStr(f.istante) + "," + std::to_string(g.conteggio);
        if (g.conteggio == 0) {
            csv += ",,,,,\n";
            continue;
        }
        csv += "," + FloatToStr(g.media) + "," + FloatToStr(g.varianza);
        if (g.conteggio < 2) {
            csv += ",,,\n";
            continue;
        }
        const Extended errore = std::sqrt(g.varianza / static_cast<Extended>(g.conteggio));
        csv += "," + FloatToStr(errore) + "," + FloatToStr(g.media - Z975 * errore) + "," +
               FloatToStr(g.media + Z975 * errore) + "\n";
    }
    if (risultato.completati < richiesti)
        csv += "# incompleto: " + std::to_string(risultato.completati) + " percorsi di " +
               std::to_string(richiesti) + "\n";
    return csv;
}

std::string CsvValori(const TLavoroBatch& lavoro, const TRisultatoBatch& risultato) {
    std::string csv = "percorso";
    for (const TFunzioneBatch& f : lavoro.funzioni)
        csv += "," + Campo(f.testo + "@" + FloatToStr(f.istante));
    csv += "\n";
    const std::size_t k = lavoro.funzioni.size();
    for (std::size_t p = 0; p < risultato.percorsiValori.size(); ++p) {
        csv += std::to_string(risultato.percorsiValori[p]);
        for (std::size_t f = 0; f < k; ++f) csv += "," + FloatToStr(risultato.valori[p * k + f]);
        csv += "\n";
    }
    return csv;
}
