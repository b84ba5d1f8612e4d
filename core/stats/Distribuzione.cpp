#include "core/stats/Distribuzione.h"

#include <limits>

#include "core/base/Exception.h"

TDistribuzione TDistribuzione::Da(int n, Extended media, Extended scartiQuadrati) {
    if (n < 0) throw ERangeError();
    TDistribuzione d;
    if (n == 0) return d;
    d.riferimento_ = media;
    d.sommaQuadrati_ = scartiQuadrati;
    d.osservazioni_ = n;
    return d;
}

void TDistribuzione::Aggiungi(Extended x) {
    if (osservazioni_ == std::numeric_limits<int>::max()) throw ERangeError("Integer overflow");
    if (osservazioni_ == 0) riferimento_ = x;
    const Extended scarto = x - riferimento_;
    somma_ += scarto;
    sommaQuadrati_ += scarto * scarto;
    ++osservazioni_;
}

void TDistribuzione::Unisci(const TAccumulo& campione) {
    if (campione.conteggio == 0) return;
    if (campione.conteggio > static_cast<std::uint64_t>(std::numeric_limits<int>::max() -
                                                        osservazioni_))
        throw ERangeError("Integer overflow");
    if (osservazioni_ == 0) riferimento_ = campione.media;
    // Sums of the shifted values: n (m - r) and M2 + n (m - r)^2.
    const Extended n = static_cast<Extended>(campione.conteggio);
    const Extended scarto = campione.media - riferimento_;
    somma_ += n * scarto;
    sommaQuadrati_ += campione.m2 + n * scarto * scarto;
    osservazioni_ += static_cast<int>(campione.conteggio);
}

Extended TDistribuzione::Media() const {
    if (osservazioni_ == 0) return 0;
    return riferimento_ + somma_ / osservazioni_;
}

Extended TDistribuzione::Varianza() const {
    if (osservazioni_ < 2) return 0;
    return ScartiQuadrati() / (osservazioni_ - 1);
}

Extended TDistribuzione::ScartiQuadrati() const {
    if (osservazioni_ == 0) return 0;
    return sommaQuadrati_ - somma_ * somma_ / osservazioni_;
}

void TDistribuzione::Azzera() {
    riferimento_ = 0;
    somma_ = 0;
    sommaQuadrati_ = 0;
    osservazioni_ = 0;
}
