#include "core/link/XlTable.h"

#include <cmath>
#include <cstring>

namespace {

constexpr std::uint16_t TipoTabella = 0x0010;
constexpr std::uint16_t TipoNumeri = 0x0001;
constexpr std::int64_t MassimoParola = 0xFFFF;

void ScriviParola(std::uint8_t* dove, std::int64_t valore) {
    dove[0] = static_cast<std::uint8_t>(valore & 0xFF);
    dove[1] = static_cast<std::uint8_t>(valore >> 8);
}

std::uint16_t LeggiParola(const std::uint8_t* da) {
    return static_cast<std::uint16_t>(da[0] | (da[1] << 8));
}

}  // namespace

std::optional<int> RigheXlTable(Extended t0, Extended t1, Extended dt) {
    const Extended r = std::nearbyint((t1 - t0) / dt);  // the current mode: ties to even
    if (!(r >= -1 && r < MassimoParola)) return std::nullopt;  // also NaN
    return static_cast<int>(r) + 1;
}

bool MisureXlTable(std::int64_t righe, std::int64_t colonne) {
    return righe >= 0 && righe <= MassimoParola && colonne >= 0 && colonne <= MassimoParola &&
           8 * righe * colonne <= MassimoParola;
}

void ScriviIntestazioneXlTable(std::uint8_t* dove, int righe, int colonne) {
    ScriviParola(dove + 0, TipoTabella);
    ScriviParola(dove + 2, 4);
    ScriviParola(dove + 4, righe);
    ScriviParola(dove + 6, colonne);
    ScriviParola(dove + 8, TipoNumeri);
    ScriviParola(dove + 10, 8 * static_cast<std::int64_t>(righe) * colonne);
}

std::optional<TBloccoXlTable> DecodificaXlTable(std::span<const std::uint8_t> dati) {
    if (dati.size() < IntestazioneXlTable) return std::nullopt;
    const std::uint8_t* p = dati.data();
    if (LeggiParola(p) != TipoTabella || LeggiParola(p + 2) != 4 ||
        LeggiParola(p + 8) != TipoNumeri)
        return std::nullopt;
    TBloccoXlTable blocco;
    blocco.righe = LeggiParola(p + 4);
    blocco.colonne = LeggiParola(p + 6);
    const std::size_t byteValori = LeggiParola(p + 10);
    const std::size_t numero = static_cast<std::size_t>(blocco.righe) * blocco.colonne;
    if (byteValori != 8 * numero || dati.size() != IntestazioneXlTable + byteValori)
        return std::nullopt;
    blocco.valori.resize(numero);
    if (numero > 0) std::memcpy(blocco.valori.data(), p + IntestazioneXlTable, byteValori);
    return blocco;
}
