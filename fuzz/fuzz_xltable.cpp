// Any bytes as a block received by a client: a clean refusal, or a table whose measures
// account for every byte and whose CSV text has one line per row, never a crash.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "core/link/Csv.h"
#include "core/link/XlTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto blocco = DecodificaXlTable(std::span(data, size));
    if (!blocco) return 0;
    const std::size_t valori = static_cast<std::size_t>(blocco->righe) * blocco->colonne;
    if (blocco->valori.size() != valori || size != IntestazioneXlTable + 8 * valori ||
        !MisureXlTable(blocco->righe, blocco->colonne))
        std::abort();
    const std::vector<int> colonne(static_cast<std::size_t>(blocco->colonne), 1);
    const std::string csv = CsvXlTable(colonne, *blocco);
    if (std::count(csv.begin(), csv.end(), '\n') != blocco->righe + 1) std::abort();
    return 0;
}
