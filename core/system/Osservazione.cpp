#include "core/system/Osservazione.h"

#include "core/system/Sistema.h"

Extended TOsservazione::Valuta(TSistema& sistema, std::vector<Extended10>& vettore) const {
    const int n = sistema.Dimensione();
    vettore.resize(static_cast<std::size_t>(n) + 1);
    vettore[0] = istante;
    for (int k = 1; k <= n; ++k) vettore[static_cast<std::size_t>(k)] = sistema.Valore(k, istante);
    return funzione->ValutaVettore(vettore.data());
}
