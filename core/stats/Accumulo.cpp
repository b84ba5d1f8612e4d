#include "core/stats/Accumulo.h"

void TAccumulo::Aggiungi(Extended x) {
    ++conteggio;
    const Extended scarto = x - media;
    media += scarto / static_cast<Extended>(conteggio);
    m2 += scarto * (x - media);
}

void TAccumulo::Unisci(const TAccumulo& altro) {
    if (altro.conteggio == 0) return;
    if (conteggio == 0) {
        *this = altro;
        return;
    }
    const Extended na = static_cast<Extended>(conteggio);
    const Extended nb = static_cast<Extended>(altro.conteggio);
    const Extended n = na + nb;
    const Extended scarto = altro.media - media;
    media += scarto * (nb / n);
    m2 += altro.m2 + scarto * scarto * (na * nb / n);
    conteggio += altro.conteggio;
}

Extended TAccumulo::Varianza() const {
    if (conteggio < 2) return 0;
    return m2 / static_cast<Extended>(conteggio - 1);
}
