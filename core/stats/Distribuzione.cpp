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
