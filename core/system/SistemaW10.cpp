// The Euler step with two-point increments, all drawn for the step before any evaluation.
#include "core/system/SistemaW10.h"


TSistemaW10::~TSistemaW10() { FermaRicalcolo(); }

void TSistemaW10::Ricalcola() {
    PercorsoEulero([this](Extended radiceDelta) {
        const Extended r = Intero(2);
        return radiceDelta * ((r - 0.5L) * 2);
    });
}

std::unique_ptr<TSistema> TSistemaW10::CopiaDiLavoro() const {
    return std::make_unique<TSistemaW10>(*this);
}
