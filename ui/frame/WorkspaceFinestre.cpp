#include "ui/frame/WorkspaceFinestre.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "core/base/Conversioni.h"
#include "core/discrete/Bifurcation.h"
#include "core/system/Sistema.h"
#include "core/workspace/Campioni.h"
#include "ui/frame/Main.h"
#include "ui/windows/CustomFunction.h"
#include "ui/windows/UFasiChild.h"
#include "ui/windows/UIterataChild.h"
#include "ui/windows/UIterazioneChild.h"
#include "ui/windows/USperanzaChild.h"
#include "ui/windows/UTraiettorieChild.h"

namespace {

using T = TTipoFinestra;

int Indice(TFunzione* f) {
    auto* c = dynamic_cast<TComponente*>(f);
    return c ? c->Indice() : 0;
}

// The slider counts thousandths of lambda.
int Millesimi(Extended v) { return static_cast<int>(std::nearbyint(v * 1000)); }

void DescriviBarra(const TBarraLambda& barra, TFinestraWs& f) {
    f.lambda = {barra.minimum() / 1000.0L, barra.Lambda(), barra.maximum() / 1000.0L};
}

void ApplicaBarra(TBarraLambda& barra, const TFinestraWs& f) {
    barra.setRange(Millesimi(f.lambda[0]), Millesimi(f.lambda[2]));
    barra.setTickInterval((barra.maximum() - barra.minimum()) / 20);
    barra.setValue(Millesimi(f.lambda[1]));
}

// The kind of a trajectory plane follows from who owns it and what it draws.
TTipoFinestra TipoPiano(const TMainForm& main, QMdiSubWindow* sotto, TPianoTraiettorie& p) {
    if (main.FinestraDelSistema(sotto)) return T::Traiettorie;
    if (!main.FinestraDellaMappa(sotto)) return T::Piano;
    return p.NumMultiFunzioni() > 0 ? T::Diagramma : T::Lyapunov;
}

// False for a window a workspace does not keep.
bool Descrivi(const TMainForm& main, QMdiSubWindow* sotto, TFinestraWs& f) {
    QWidget* w = sotto->widget();
    if (auto* comune = dynamic_cast<TComune*>(w);
        comune && main.FinestraDelSistema(sotto) && !comune->Registrazione())
        return false;
    if (auto* s = dynamic_cast<TSperanzaChild*>(w)) {
        f.tipo = T::Speranza;
        f.funzione = s->RPNCompiler1().Text();
        if (f.funzione.empty()) return false;  // its formula did not compile
        f.istante = s->Istante();
        f.campioni = CampioniDi(s->Distribuzione1());
        f.continuo = s->Continuo()->isChecked();
    } else if (auto* fasi = dynamic_cast<TFasiChild*>(w)) {
        TPianoFasi& p = *fasi->PianoFasi1();
        f.tipo = T::Fasi;
        f.componenti = {Indice(p.FunzioneX()), Indice(p.FunzioneY())};
        f.tempi = {p.Inizio(), p.Fine(), p.Passo()};
    } else if (auto* iterazione = dynamic_cast<TIterazioneChild*>(w)) {
        const TPianoIterazione& p = *iterazione->PianoIterazione1();
        f.tipo = T::Iterazioni;
        DescriviBarra(*iterazione->TrackBar1(), f);
        f.seed = p.Seed();
        f.salta = p.Skip();
        f.iterazioni = p.Iterazioni();
    } else if (auto* iterata = dynamic_cast<TIterataChild*>(w)) {
        f.tipo = T::Iterata;
        DescriviBarra(*iterata->TrackBar1(), f);
    } else if (auto* traiettorie = dynamic_cast<TTraiettorieChild*>(w)) {
        TPianoTraiettorie& p = *traiettorie->PianoTraiettorie1();
        f.tipo = TipoPiano(main, sotto, p);
        for (int i = 0; i < p.NumFunzioni(); ++i) {
            if (const int k = Indice(&p.Funzione(i)))
                f.componenti.push_back(k);
            else if (auto* utente = dynamic_cast<TCustomFunction*>(&p.Funzione(i)))
                f.funzioni.push_back(utente->Testo());
        }
    } else {
        return false;
    }
    if (auto* piano = dynamic_cast<TComunePiano*>(w))
        for (int i = 0; i < 4; ++i)
            f.estensione[static_cast<std::size_t>(i)] = piano->Piano()->Estensione(i);
    const QRect g = sotto->geometry();
    f.geometria = {g.x(), g.y(), g.width(), g.height()};
    f.stato = sotto->isMinimized()   ? TStatoFinestra::Minimizzata
              : sotto->isMaximized() ? TStatoFinestra::Massimizzata
                                     : TStatoFinestra::Normale;
    return true;
}

QMdiSubWindow* Sotto(QWidget* finestra) {
    return qobject_cast<QMdiSubWindow*>(finestra->parentWidget());
}

// Opens one window as its command would, then gives it what the user had set.
QMdiSubWindow* Apri(TMainForm& main, const TFinestraWs& f) {
    const QList<int> componenti(f.componenti.begin(), f.componenti.end());
    QMdiSubWindow* sotto = nullptr;
    switch (f.tipo) {
        case T::Traiettorie: sotto = Sotto(main.ApriTraiettorie(componenti)); break;
        case T::Piano: sotto = main.PianoCartesiano1Click(); break;
        case T::Diagramma: sotto = main.Bifdiagram1Click(); break;
        case T::Lyapunov: sotto = main.Lyapunov1Click(); break;
        case T::Fasi: {
            TFasiChild* fasi = main.ApriFasi(componenti[0], componenti[1]);
            fasi->PianoFasi1()->SetTempi(f.tempi[0], f.tempi[1], f.tempi[2]);
            main.CollegaFinestra(fasi);
            sotto = Sotto(fasi);
            break;
        }
        case T::Speranza: {
            TSperanzaChild* s = main.ApriSperanza(QString::fromStdString(f.funzione),
                                                  QString::fromStdString(FloatToStr(f.istante)));
            s->Continuo()->setChecked(f.continuo);
            if (f.campioni.numero > 0) s->SetDistribuzione(DistribuzioneDa(f.campioni));
            sotto = Sotto(s);
            break;
        }
        case T::Iterazioni: {
            sotto = main.Iterazioni1Click();
            auto* iterazione = static_cast<TIterazioneChild*>(sotto->widget());
            ApplicaBarra(*iterazione->TrackBar1(), f);
            TPianoIterazione& p = *iterazione->PianoIterazione1();
            p.SetSeed(f.seed);
            p.SetSkip(f.salta);
            p.SetIterazioni(f.iterazioni);
            break;
        }
        case T::Iterata:
            sotto = main.Iterata1Click();
            ApplicaBarra(*static_cast<TIterataChild*>(sotto->widget())->TrackBar1(), f);
            break;
    }
    if (auto* traiettorie = dynamic_cast<TTraiettorieChild*>(sotto->widget()))
        for (const std::string& testo : f.funzioni)
            traiettorie->PianoTraiettorie1()->AddFunzione(
                std::make_unique<TCustomFunction>(testo));
    if (auto* piano = dynamic_cast<TComunePiano*>(sotto->widget()))
        piano->SetEstensione(f.estensione);
    return sotto;
}

}  // namespace

TWorkspace DescriviWorkspace(const TMainForm& main, const std::optional<TSistemaWs>& sistema,
                             const TParalleloWs& parallelo) {
    TWorkspace ws;
    ws.separatore = DecimalSeparator();
    ws.sistema = sistema;
    if (TBifurcation* b = main.Bifurcation())
        ws.mappa = TMappaWs{b->Dinamica().Text(), b->Derivata().Text(), b->Seed()};
    ws.parallelo = parallelo;
    for (QMdiSubWindow* sotto : main.Area()->subWindowList(QMdiArea::CreationOrder)) {
        TFinestraWs f;
        if (Descrivi(main, sotto, f)) ws.finestre.push_back(std::move(f));
    }
    return ws;
}

void ApplicaWorkspace(TMainForm& main, const TWorkspace& ws, TWorkspaceCostruito costruito) {
    if (ws.separatore == ',')
        main.Italiano1Click();
    else
        main.Inglese1Click();
    for (QMdiSubWindow* sotto : main.Area()->subWindowList())
        if (dynamic_cast<TTraiettorieChild*>(sotto->widget()) && !main.FinestraDelSistema(sotto) &&
            !main.FinestraDellaMappa(sotto))
            delete sotto;
    const bool statistiche =
        std::any_of(ws.finestre.begin(), ws.finestre.end(),
                    [](const TFinestraWs& f) { return f.tipo == T::Speranza; });
    if (costruito.sistema)
        main.SetSistema(std::move(costruito.sistema), !statistiche);
    else
        main.RimuoviSistema();
    main.SetBifurcation(std::move(costruito.mappa));
    for (const TFinestraWs& f : ws.finestre) {
        QMdiSubWindow* sotto = Apri(main, f);
        sotto->setGeometry(f.geometria[0], f.geometria[1], f.geometria[2], f.geometria[3]);
        if (f.stato == TStatoFinestra::Minimizzata) sotto->showMinimized();
        if (f.stato == TStatoFinestra::Massimizzata) sotto->showMaximized();
    }
}
