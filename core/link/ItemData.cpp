#include "core/link/ItemData.h"

#include <cstdint>

#include "core/base/Conversioni.h"
#include "core/link/XlTable.h"

namespace {

// The ';'-terminated fields of the item; empty when the item is too long, when text is left
// after the last ';' or when there are fewer than the three times.
std::optional<std::vector<std::string_view>> Campi(std::string_view item) {
    if (item.size() > MassimaLunghezzaTesto) return std::nullopt;
    std::vector<std::string_view> campi;
    while (!item.empty()) {
        const auto fine = item.find(';');
        if (fine == std::string_view::npos) return std::nullopt;
        campi.push_back(item.substr(0, fine));
        item.remove_prefix(fine + 1);
    }
    if (campi.size() < 3) return std::nullopt;
    return campi;
}

std::optional<std::vector<int>> Interi(const std::vector<std::string_view>& campi) {
    std::vector<int> colonne;
    colonne.reserve(campi.size() - 3);
    for (std::size_t i = 3; i < campi.size(); ++i) {
        std::int64_t valore = 0;
        const std::string_view campo = campi[i];
        // As StrToInt reads it, without raising.
        if (campo.empty() || LeggiIntero(campo, valore) != campo.size() ||
            valore < INT32_MIN || valore > INT32_MAX)
            return std::nullopt;
        colonne.push_back(static_cast<int>(valore));
    }
    return colonne;
}

}  // namespace

std::optional<TItemData> AnalizzaItem(std::string_view item) {
    const auto campi = Campi(item);
    if (!campi) return std::nullopt;
    TItemData dati;
    if (!TryTextToExtended((*campi)[0], dati.T0) || !TryTextToExtended((*campi)[1], dati.T1) ||
        !TryTextToExtended((*campi)[2], dati.DT))
        return std::nullopt;
    auto colonne = Interi(*campi);
    if (!colonne) return std::nullopt;
    dati.NomeItem = item;
    dati.Colonne = std::move(*colonne);
    return dati;
}

std::optional<std::vector<int>> ColonneItem(std::string_view item) {
    const auto campi = Campi(item);
    if (!campi) return std::nullopt;
    return Interi(*campi);
}

bool BloccoCostruibile(const TItemData& dati) {
    const auto righe = RigheXlTable(dati.T0, dati.T1, dati.DT);
    return righe && MisureXlTable(*righe, dati.NumColonne());
}

TEsitoAvvio EsaminaAvvio(std::string_view item, std::string_view formato, TItemData& dati) {
    if (item.size() > MassimaLunghezzaTesto || formato.size() > MassimaLunghezzaTesto)
        return TEsitoAvvio::TroppoLungo;
    if (formato != "XlTable") return TEsitoAvvio::Rifiutato;
    auto letto = AnalizzaItem(item);
    // A block that can never be built is refused now rather than never sent.
    if (!letto || !BloccoCostruibile(*letto)) return TEsitoAvvio::Rifiutato;
    dati = std::move(*letto);
    return TEsitoAvvio::Accettato;
}
