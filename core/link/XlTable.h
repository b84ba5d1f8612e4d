// The XlTable block that carries sampled path values to other programs: its limits, its
// header, and a strict decoder for the clients. The values are built by TSistema::Tabella.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/base/Extended.h"

inline constexpr std::size_t IntestazioneXlTable = 12;  // table record + float record header

// Rows of a table sampled from t0 to t1 by dt: Round((t1 - t0) / dt) + 1, ties to even.
// Empty when the count is not a 16-bit number (0 ... 65535), for example when dt is 0.
std::optional<int> RigheXlTable(Extended t0, Extended t1, Extended dt);
// Whether righe x colonne values fit the block: every count and the float record's byte
// size must be 16-bit numbers, so at most 8191 values in all.
bool MisureXlTable(std::int64_t righe, std::int64_t colonne);
// Writes the 12-byte header of a block with these (valid) measures.
void ScriviIntestazioneXlTable(std::uint8_t* dove, int righe, int colonne);

struct TBloccoXlTable {
    int righe = 0;
    int colonne = 0;
    std::vector<double> valori;  // row by row
};

// The block exactly as the server builds it: a table record (type 16, size 4), one float
// record (type 1) of righe x colonne doubles, nothing after. Empty for anything else.
std::optional<TBloccoXlTable> DecodificaXlTable(std::span<const std::uint8_t> dati);
