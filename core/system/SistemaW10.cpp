// The Euler step with two-point increments, all drawn for the step before any evaluation.
#include "core/system/SistemaW10.h"

#include "core/system/Gauss.h"

TSistemaW10::~TSistemaW10() { FermaRicalcolo(); }

void TSistemaW10::Ricalcola() {
    PercorsoEulero([](Extended radiceDelta) {
        const Extended r = RandomIntero(2);
        return radiceDelta * ((r - 0.5L) * 2);
    });
}
