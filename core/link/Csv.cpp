#include "core/link/Csv.h"

#include <charconv>
#include <stdexcept>

std::string CsvXlTable(std::span<const int> colonne, const TBloccoXlTable& blocco) {
    if (colonne.size() != static_cast<std::size_t>(blocco.colonne))
        throw std::invalid_argument("the item and the block differ in their columns");
    std::string testo;
    testo.reserve(24 * (blocco.valori.size() + colonne.size() + 1));
    for (std::size_t c = 0; c < colonne.size(); ++c) {
        if (c > 0) testo += ',';
        testo += colonne[c] == 0 ? std::string("t") : "X" + std::to_string(colonne[c]);
    }
    testo += '\n';
    char numero[32];
    for (int r = 0; r < blocco.righe; ++r) {
        for (int c = 0; c < blocco.colonne; ++c) {
            if (c > 0) testo += ',';
            const double v = blocco.valori[static_cast<std::size_t>(r) * blocco.colonne + c];
            testo.append(numero, std::to_chars(numero, numero + sizeof numero, v).ptr);
        }
        testo += '\n';
    }
    return testo;
}
