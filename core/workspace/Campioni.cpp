#include "core/workspace/Campioni.h"

#include <limits>

TCampioni CampioniDi(const TDistribuzione& d) {
    return {d.Osservazioni(), d.Media(), d.ScartiQuadrati()};
}

TDistribuzione DistribuzioneDa(const TCampioni& c) {
    if (c.numero < 0 || c.numero > std::numeric_limits<int>::max()) throw ERangeError();
    return TDistribuzione::Da(static_cast<int>(c.numero), c.media, c.scarti2);
}
