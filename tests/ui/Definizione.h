// Shared by the GUI tests that define systems: what the user types into the dialogs of a
// creation command, and the answer that types it.
#pragma once

#include <QStringList>
#include <QTabBar>
#include <QTabWidget>

#include "tests/ui/Modali.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/dialogs/UCoefficienti.h"
#include "ui/dialogs/UDimensioni.h"

namespace prova {

// What the user types into the dialogs of a creation command.
struct TDefinizione {
    int n = 1;
    int m = 1;
    QStringList origini;
    QStringList derive;
    QList<QStringList> diffusioni;  // row k: the cells [1, k], [2, k], ...
    QString inizio = "0";
    QString fine = "1";
    QString passo;  // empty: the dialog's own text is kept
};

// What the user saw on the way.
struct TVisto {
    QStringList dialoghi;
    QString passo;
    QStringList intestazioniDiffusione;
    QStringList righeDiffusione;
    bool diffusioneVisibile = false;
};

// n components x_k' = -x_k from 1, diffusion cells that compile but weigh nothing.
inline TDefinizione Decadimento(int n, int m, int colonneDiffusione) {
    TDefinizione d;
    d.n = n;
    d.m = m;
    for (int k = 1; k <= n; ++k) {
        d.origini << "1";
        d.derive << QString("0-x%1").arg(k);
        QStringList riga;
        for (int j = 1; j <= colonneDiffusione; ++j) riga << QString("0*x%1*%2").arg(k).arg(j);
        d.diffusioni << riga;
    }
    return d;
}

inline void ApriPagina(TCoefficienti* dialogo, int pagina) {
    QTabBar* linguette = dialogo->PageControl1()->tabBar();
    QTest::mouseClick(linguette, Qt::LeftButton, {}, linguette->tabRect(pagina).center());
    QTRY_COMPARE(dialogo->PageControl1()->currentIndex(), pagina);
}

// Answers a dimensions dialog or a coefficients dialog with the definition.
inline TRisponditore::Risposta Compila(const TDefinizione& d, TVisto& visto) {
    return [&d, &visto](QWidget* w) {
        visto.dialoghi << w->metaObject()->className();
        QVERIFY(QTest::qWaitForWindowActive(w));
        if (auto* dimensioni = qobject_cast<TDimensioni*>(w)) {
            Digita(dimensioni->SpinEdit1(), QString::number(d.n));
            if (auto* conMoti = qobject_cast<TDimensioniS*>(w))
                Digita(conMoti->SpinEdit2(), QString::number(d.m));
            Clicca(w, "OKBtn");
            return;
        }
        auto* coefficienti = qobject_cast<TCoefficienti*>(w);
        QVERIFY(coefficienti);
        visto.passo = coefficienti->Passo()->text();
        ApriPagina(coefficienti, 0);
        for (int k = 1; k <= d.origini.size(); ++k)
            ScriviCella(coefficienti->StringGrid1(), 1, k, d.origini[k - 1]);
        ApriPagina(coefficienti, 1);
        for (int k = 1; k <= d.derive.size(); ++k)
            ScriviCella(coefficienti->StringGrid2(), 1, k, d.derive[k - 1]);
        if (TStringGrid* diffusione = coefficienti->StringGrid3()) {
            ApriPagina(coefficienti, 2);
            visto.diffusioneVisibile = diffusione->isVisible();
            for (int j = 0; j < diffusione->ColCount(); ++j)
                visto.intestazioniDiffusione << diffusione->Cella(j, 0);
            for (int k = 0; k < diffusione->RowCount(); ++k)
                visto.righeDiffusione << diffusione->Cella(0, k);
            if (visto.diffusioneVisibile)
                for (int k = 1; k <= d.diffusioni.size(); ++k)
                    for (int j = 1; j <= d.diffusioni[k - 1].size(); ++j)
                        ScriviCella(diffusione, j, k, d.diffusioni[k - 1][j - 1]);
        }
        Digita(coefficienti->Inizio(), d.inizio);
        Digita(coefficienti->Fine(), d.fine);
        if (!d.passo.isEmpty()) Digita(coefficienti->Passo(), d.passo);
        Clicca(w, "OKBtn");
    };
}

}  // namespace prova
