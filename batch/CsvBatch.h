// The CSV texts of a batch run: only figures (nothing of the time, host or threads), so that
// two runs of the same file, seed and count compare byte for byte.
#pragma once

#include <string>

#include "batch/EsecuzioneBatch.h"

// One line per function: funzione,istante,conteggio,media,varianza,errore_standard,
// intervallo95_inf,intervallo95_sup. A function that continues a window's saved sample gives
// the window's figures. A stopped run ends with "# incompleto: D percorsi di N".
std::string CsvStatistiche(const TLavoroBatch& lavoro, const TRisultatoBatch& risultato,
                           std::uint64_t richiesti);
// "percorso" and one column per function ("x1@1"), then one line per completed path.
std::string CsvValori(const TLavoroBatch& lavoro, const TRisultatoBatch& risultato);
