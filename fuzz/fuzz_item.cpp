// Any bytes as the item of a link, read with either separator: a clean refusal or an item
// whose columns agree with the separator-free reading, never a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/base/Conversioni.h"
#include "core/link/ItemData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view item(reinterpret_cast<const char*>(data), size);
    const auto colonne = ColonneItem(item);
    for (const char separatore : {'.', ','}) {
        SetDecimalSeparator(separatore);
        const auto dati = AnalizzaItem(item);
        if (!dati) continue;
        if (!colonne || *colonne != dati->Colonne || dati->NomeItem != item) std::abort();
        BloccoCostruibile(*dati);
    }
    SetDecimalSeparator('.');
    return 0;
}
