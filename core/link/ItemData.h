// The item string of a link, "T0;T1;DT;k1;...;": the sampling times and the columns it asks
// for. Plain functions, so that the fuzzer and the command-line client reach them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Extended.h"

// Item and format texts are read into a 256-character buffer: at most 255 characters.
inline constexpr std::size_t MassimaLunghezzaTesto = 255;

struct TItemData {
    std::string NomeItem;  // as the client sent it
    Extended T0 = 0, T1 = 0, DT = 0;
    std::vector<int> Colonne;  // component numbers in item order, 0 meaning the time
    int NumColonne() const { return static_cast<int>(Colonne.size()); }
};

// Reads the item with the program's decimal separator. Empty when it is longer than
// MassimaLunghezzaTesto or does not follow the form: every field ends with ';', the first
// three are numbers, the others 32-bit integers.
std::optional<TItemData> AnalizzaItem(std::string_view item);
// The column numbers alone, which do not depend on the decimal separator. Empty as above
// (also when too long), except that the first three fields are not read as numbers.
std::optional<std::vector<int>> ColonneItem(std::string_view item);
// Whether the item's block fits the XlTable limits whatever the system.
bool BloccoCostruibile(const TItemData& dati);

// How the server answers an advise start, from its two texts alone. TroppoLungo is decided
// on the lengths, before anything is parsed; Accettato fills dati.
enum class TEsitoAvvio { Accettato, Rifiutato, TroppoLungo };
TEsitoAvvio EsaminaAvvio(std::string_view item, std::string_view formato, TItemData& dati);
