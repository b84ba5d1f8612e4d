// Any bytes as the two arguments of an AdviseStart, item and format, split at the first NUL:
// an answer that agrees with the limits and with reading the item alone, never a crash. The
// long runs of the fuzzer reach items far past the 255-character limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/link/ItemData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view tutto(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = tutto.find('\0');
    const std::string_view item = tutto.substr(0, nul);
    const std::string_view formato =
        nul == std::string_view::npos ? std::string_view("XlTable") : tutto.substr(nul + 1);
    TItemData dati;
    const TEsitoAvvio esito = EsaminaAvvio(item, formato, dati);
    const bool lungo =
        item.size() > MassimaLunghezzaTesto || formato.size() > MassimaLunghezzaTesto;
    if (lungo != (esito == TEsitoAvvio::TroppoLungo)) std::abort();
    if (esito != TEsitoAvvio::Accettato) return 0;
    const auto letto = AnalizzaItem(item);
    if (formato != "XlTable" || !letto || letto->Colonne != dati.Colonne ||
        dati.NomeItem != item || !BloccoCostruibile(dati))
        std::abort();
    return 0;
}
