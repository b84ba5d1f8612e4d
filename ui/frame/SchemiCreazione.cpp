#include "ui/frame/SchemiCreazione.h"

#include <QLineEdit>

#include "core/base/Conversioni.h"

#include "core/system/SistemaDI1.h"
#include "core/system/SistemaDRK.h"
#include "core/system/SistemaS05.h"
#include "core/system/SistemaS10.h"
#include "core/system/SistemaS15.h"
#include "core/system/SistemaW10.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/StringGrid.h"
#include "ui/dialogs/UCoefficienti.h"
#include "ui/dialogs/UDimensioni.h"

namespace {

using Lettura = TSchemaCreazione::TLetturaDiffusione;

bool ChiediDimensione(QWidget* owner, int& n, int& m) {
    TDimensioni dialogo(owner);
    if (dialogo.exec() != QDialog::Accepted) return false;
    n = dialogo.SpinEdit1()->Value();
    m = 0;
    return true;
}

bool ChiediDimensioniMoti(QWidget* owner, int& n, int& m) {
    TDimensioniS dialogo(owner);
    if (dialogo.exec() != QDialog::Accepted) return false;
    n = dialogo.SpinEdit1()->Value();
    m = dialogo.SpinEdit2()->Value();
    return true;
}

std::unique_ptr<TCoefficienti> CoefficientiDeterministici(QWidget* owner, int n, int) {
    auto dialogo = std::make_unique<TCoefficienti>(owner);
    dialogo->ImpostaDimensione(n);
    return dialogo;
}

std::unique_ptr<TCoefficienti> CoefficientiPieni(QWidget* owner, int n, int m) {
    auto dialogo = std::make_unique<TCoefficientiS>(owner);
    dialogo->ImpostaDimensioniMoti(n, m);
    return dialogo;
}

std::unique_ptr<TCoefficienti> CoefficientiDiagonali(QWidget* owner, int n, int) {
    auto dialogo = std::make_unique<TCoefficientiSD>(owner);
    dialogo->ImpostaDiagonale(n);
    return dialogo;
}

// Each row's class is the one its creaSistema makes, so the casts below are exact.
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

const std::array<TSchemaCreazione, 6> schemi = {{
    {"Eulero05", ChiediDimensioniMoti, CoefficientiPieni, Crea<TSistemaS05>,
     DimensioniMoti<TSistemaS05>, Lettura::PerMoto, DiffusioneMoto<TSistemaS05>},
    {"Milstein101", ChiediDimensione, CoefficientiDiagonali, Crea<TSistemaS10>,
     SoloDimensione<TSistemaS10>, Lettura::Diagonale, DiffusioneDiagonale<TSistemaS10>},
    {"Uni151", nullptr, CoefficientiPieni, Crea<TSistemaS15>, nullptr, Lettura::Diagonale,
     DiffusioneDiagonale<TSistemaS15>},
    {"N101", ChiediDimensioniMoti, CoefficientiPieni, Crea<TSistemaW10>,
     DimensioniMoti<TSistemaW10>, Lettura::PerMoto, DiffusioneMoto<TSistemaW10>},
    {"RungeKutta401", ChiediDimensione, CoefficientiDeterministici, Crea<TSistemaDRK>,
     SoloDimensione<TSistemaDRK>, Lettura::Nessuna, nullptr},
    {"Implicit101", ChiediDimensione, CoefficientiDeterministici, Crea<TSistemaDI1>,
     SoloDimensione<TSistemaDI1>, Lettura::Nessuna, nullptr},
}};

}  // namespace

const std::array<TSchemaCreazione, 6>& SchemiCreazione() { return schemi; }

std::unique_ptr<TSistema> LeggiSistema(const TSchemaCreazione& schema,
                                       TCoefficienti& coefficienti, int n, int m) {
    auto leggi = [&](QLineEdit* edit) {
        coefficienti.SegnaCampo(edit);
        return StrToFloat(edit->text().toStdString());
    };
    auto cella = [&](TStringGrid* grid, int colonna, int riga) {
        coefficienti.SegnaCampo(grid, colonna, riga);
        return grid->Cella(colonna, riga).toStdString();
    };
    std::unique_ptr<TSistema> nuovo = schema.creaSistema();
    const Extended inizio = leggi(coefficienti.Inizio());
    const Extended fine = leggi(coefficienti.Fine());
    const Extended passo = leggi(coefficienti.Passo());
    // A grid that cannot be set is shown at its step.
    nuovo->SetIntervallo(inizio, fine, passo);
    if (schema.dimensiona) schema.dimensiona(*nuovo, n, m);
    TStringGrid* diffusione = coefficienti.StringGrid3();
    for (int k = 1; k <= n; ++k) {
        nuovo->SetOrigine(k, StrToFloat(cella(coefficienti.StringGrid1(), 1, k)));
        nuovo->Deriva(k).SetText(cella(coefficienti.StringGrid2(), 1, k));
        switch (schema.lettura) {
            case Lettura::Nessuna: break;
            case Lettura::PerMoto:
                for (int j = 1; j <= m; ++j)
                    schema.diffusione(*nuovo, k, j).SetText(cella(diffusione, j, k));
                break;
            case Lettura::Diagonale:
                schema.diffusione(*nuovo, k, 1).SetText(cella(diffusione, 1, k));
                break;
        }
    }
    return nuovo;
}
