#include "core/workspace/TipiSistema.h"

#include <array>
#include <typeinfo>

#include "core/system/SistemaDI1.h"
#include "core/system/SistemaDRK.h"
#include "core/system/SistemaS05.h"
#include "core/system/SistemaS10.h"
#include "core/system/SistemaS15.h"
#include "core/system/SistemaW10.h"

namespace {

using Diffusione = TTipoSistema::TDiffusione;

// Each row's class is the one its crea makes, so the casts below are exact.
template <class S>
std::unique_ptr<TSistema> Crea() {
    return std::make_unique<S>();
}

template <class S>
void DimensioniMoti(TSistema& sistema, int n, int m) {
    static_cast<S&>(sistema).SetDimensione(n, m);
}

template <class S>
void SoloDimensione(TSistema& sistema, int n, int) {
    static_cast<S&>(sistema).SetDimensione(n);
}

template <class S>
TRPNCompiler& DiffusioneMoto(TSistema& sistema, int k, int j) {
    return static_cast<S&>(sistema).Diffusione(k, j);
}

template <class S>
TRPNCompiler& DiffusioneDiagonale(TSistema& sistema, int k, int) {
    return static_cast<S&>(sistema).Diffusione(k);
}

template <int M>
int MotiFissi(const TSistema&) {
    return M;
}

int MotiS05(const TSistema& sistema) { return static_cast<const TSistemaS05&>(sistema).Moti(); }

template <class S>
bool EDelTipo(const TSistema& sistema) {
    return typeid(sistema) == typeid(S);
}

const std::array<TTipoSistema, 6> tipi = {{
    {TSchema::Eulero05, Crea<TSistemaS05>, DimensioniMoti<TSistemaS05>, Diffusione::PerMoto,
     DiffusioneMoto<TSistemaS05>, MotiS05, EDelTipo<TSistemaS05>},
    {TSchema::Milstein10, Crea<TSistemaS10>, SoloDimensione<TSistemaS10>, Diffusione::Diagonale,
     DiffusioneDiagonale<TSistemaS10>, MotiFissi<1>, EDelTipo<TSistemaS10>},
    {TSchema::Uni15, Crea<TSistemaS15>, nullptr, Diffusione::Diagonale,
     DiffusioneDiagonale<TSistemaS15>, MotiFissi<1>, EDelTipo<TSistemaS15>},
    {TSchema::Debole10, Crea<TSistemaW10>, DimensioniMoti<TSistemaW10>, Diffusione::PerMoto,
     DiffusioneMoto<TSistemaW10>, MotiS05, EDelTipo<TSistemaW10>},
    {TSchema::RungeKutta5, Crea<TSistemaDRK>, SoloDimensione<TSistemaDRK>, Diffusione::Nessuna,
     nullptr, MotiFissi<0>, EDelTipo<TSistemaDRK>},
    {TSchema::Implicito10, Crea<TSistemaDI1>, SoloDimensione<TSistemaDI1>, Diffusione::Nessuna,
     nullptr, MotiFissi<0>, EDelTipo<TSistemaDI1>},
}};

}  // namespace

const TTipoSistema& TipoSistema(TSchema schema) {
    for (const TTipoSistema& t : tipi)
        if (t.schema == schema) return t;
    throw Exception("Invalid argument!");
}

const TTipoSistema& TipoDi(const TSistema& sistema) {
    for (const TTipoSistema& t : tipi)
        if (t.eDelTipo(sistema)) return t;
    throw Exception("Invalid argument!");
}
