#include "ui/frame/SchemiCreazione.h"

#include <QLineEdit>

#include "core/base/Conversioni.h"

#include "core/system/Sistema.h"
#include "core/workspace/TipiSistema.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/widgets/StringGrid.h"
#include "ui/dialogs/UCoefficienti.h"
#include "ui/dialogs/UDimensioni.h"

namespace {

using Lettura = TTipoSistema::TDiffusione;

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

const std::array<TSchemaCreazione, 6> schemi = {{
    {"Eulero05", ChiediDimensioniMoti, CoefficientiPieni, TSchema::Eulero05},
    {"Milstein101", ChiediDimensione, CoefficientiDiagonali, TSchema::Milstein10},
    {"Uni151", nullptr, CoefficientiPieni, TSchema::Uni15},
    {"N101", ChiediDimensioniMoti, CoefficientiPieni, TSchema::Debole10},
    {"RungeKutta401", ChiediDimensione, CoefficientiDeterministici, TSchema::RungeKutta5},
    {"Implicit101", ChiediDimensione, CoefficientiDeterministici, TSchema::Implicito10},
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
    const TTipoSistema& tipo = TipoSistema(schema.schema);
    std::unique_ptr<TSistema> nuovo = tipo.crea();
    const Extended inizio = leggi(coefficienti.Inizio());
    const Extended fine = leggi(coefficienti.Fine());
    const Extended passo = leggi(coefficienti.Passo());
    // A grid that cannot be set is shown at its step.
    nuovo->SetIntervallo(inizio, fine, passo);
    if (tipo.dimensiona) tipo.dimensiona(*nuovo, n, m);
    TStringGrid* diffusione = coefficienti.StringGrid3();
    for (int k = 1; k <= n; ++k) {
        nuovo->SetOrigine(k, StrToFloat(cella(coefficienti.StringGrid1(), 1, k)));
        nuovo->Deriva(k).SetText(cella(coefficienti.StringGrid2(), 1, k));
        switch (tipo.diffusione) {
            case Lettura::Nessuna: break;
            case Lettura::PerMoto:
                for (int j = 1; j <= m; ++j)
                    tipo.formulaDiffusione(*nuovo, k, j).SetText(cella(diffusione, j, k));
                break;
            case Lettura::Diagonale:
                tipo.formulaDiffusione(*nuovo, k, 1).SetText(cella(diffusione, 1, k));
                break;
        }
    }
    return nuovo;
}
