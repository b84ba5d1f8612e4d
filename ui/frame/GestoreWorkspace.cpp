#include "ui/frame/GestoreWorkspace.h"

#include <utility>

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>

#include "core/discrete/Bifurcation.h"
#include "core/system/Sistema.h"
#include "core/workspace/CostruisciWorkspace.h"
#include "core/workspace/SalvaAtomico.h"
#include "core/workspace/WorkspaceToml.h"
#include "ui/frame/ErroreApplicazione.h"
#include "ui/frame/Main.h"
#include "ui/frame/WorkspaceFinestre.h"

namespace {

constexpr const char* ChiaveRecenti = "recenti";
constexpr const char* FiltroFile = "Workspace di Vantor (*.toml);;Tutti i file (*)";
constexpr int PeriodoControllo = 500;  // ms between checks for changes

// The one setting kept between starts, in the platform's place for settings.
QSettings Impostazioni() { return QSettings("Vantor", "vantor"); }

}  // namespace

TGestoreWorkspace::TGestoreWorkspace(TMainForm& main, QMenu* menu)
    : QObject(&main),
      main_(main),
      menu_(menu),
      esci_(menu->actions().last()),
      eulero05_(main.findChild<QAction*>("Eulero05")) {
    QAction* primo = menu->actions().value(0);
    const std::tuple<const char*, const char*, const char*, void (TGestoreWorkspace::*)()>
        comandi[] = {
            {"&Apri...", "Apri1", "Apre un workspace", &TGestoreWorkspace::Apri1Click},
            {"&Salva", "Salva1", "Salva il workspace", &TGestoreWorkspace::Salva1Click},
            {"Salva &con nome...", "SalvaConNome1", "Salva il workspace in un altro file",
             &TGestoreWorkspace::SalvaConNome1Click},
        };
    for (const auto& [testo, nome, suggerimento, comando] : comandi) {
        auto* voce = new QAction(testo, menu);
        voce->setObjectName(nome);
        voce->setStatusTip(suggerimento);
        connect(voce, &QAction::triggered, this, comando);
        menu->insertAction(primo, voce);
        if (comando == &TGestoreWorkspace::Apri1Click) sostituzioni_ << voce;
    }
    menu->insertSeparator(primo);

    // Opening replaces the system: not while a path is being computed, like the creation
    // commands.
    connect(eulero05_, &QAction::changed, this, [this] {
        for (QAction* voce : sostituzioni_) voce->setEnabled(eulero05_->isEnabled());
    });
    AggiornaRecenti();

    controllo_.setInterval(PeriodoControllo);
    connect(&controllo_, &QTimer::timeout, this, &TGestoreWorkspace::AggiornaTitolo);
}

void TGestoreWorkspace::RicordaSistema() {
    TSistema* sistema = main_.Sistema();
    if (!sistema)
        sistema_.reset();
    else if (!sistema->InEsecuzione())
        sistema_ = DescriviSistema(*sistema);
}

TWorkspace TGestoreWorkspace::Attuale() {
    RicordaSistema();
    return DescriviWorkspace(main_, sistema_, parallelo_);
}

bool TGestoreWorkspace::Modificato() { return salvato_ && Attuale() != *salvato_; }

bool TGestoreWorkspace::Apri(const QString& percorso) {
    const std::string file = percorso.toStdString();
    try {
        const TWorkspaceLetto letto = LeggiFileWorkspace(file);
        TWorkspaceCostruito costruito = CostruisciWorkspace(letto.workspace, letto.righe, file);
        ApplicaWorkspace(main_, letto.workspace, std::move(costruito));
        parallelo_ = letto.workspace.parallelo;
    } catch (const std::exception& e) {
        Errore("Apri workspace", QString::fromStdString(e.what()));
        return false;
    }
    file_ = QFileInfo(percorso).absoluteFilePath();
    salvato_ = Attuale();
    AggiungiRecente(file_);
    AggiornaTitolo();
    controllo_.start();
    return true;
}

bool TGestoreWorkspace::Salva(const QString& percorso) {
    TWorkspace ws = Attuale();
    const std::string file = percorso.toStdString();
    try {
        // A file that would not open again is not written: a formula typed with the other
        // decimal separator, for one, is reported here.
        const std::string testo = ScriviWorkspace(ws);
        const TWorkspaceLetto prova = LeggiWorkspace(testo, file);
        CostruisciWorkspace(prova.workspace, prova.righe, file);
        SalvaAtomico(file, testo);
    } catch (const std::exception& e) {
        Errore("Salva workspace", QString::fromStdString(e.what()));
        return false;
    }
    file_ = QFileInfo(percorso).absoluteFilePath();
    salvato_ = std::move(ws);
    AggiungiRecente(file_);
    AggiornaTitolo();
    controllo_.start();
    return true;
}

void TGestoreWorkspace::Apri1Click() {
    if (!ChiediSeModificato()) return;
    const QString percorso = QFileDialog::getOpenFileName(&main_, "Apri workspace",
                                                          QFileInfo(file_).path(), FiltroFile);
    if (!percorso.isEmpty()) Apri(percorso);
}

void TGestoreWorkspace::Salva1Click() {
    if (file_.isEmpty())
        SalvaConNome1Click();
    else
        Salva(file_);
}

void TGestoreWorkspace::SalvaConNome1Click() {
    QString percorso = QFileDialog::getSaveFileName(&main_, "Salva workspace", file_, FiltroFile);
    if (percorso.isEmpty()) return;
    if (QFileInfo(percorso).suffix().isEmpty()) percorso += ".toml";
    Salva(percorso);
}

bool TGestoreWorkspace::ChiediSeModificato() {
    if (!Modificato()) return true;
    const auto risposta = QMessageBox::warning(
        &main_, TitoloApplicazione,
        QString("Il workspace %1 ha modifiche non salvate. Salvarle?")
            .arg(QFileInfo(file_).fileName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (risposta == QMessageBox::Save) return Salva(file_);
    return risposta == QMessageBox::Discard;
}

QStringList TGestoreWorkspace::Recenti() const {
    return Impostazioni().value(ChiaveRecenti).toStringList();
}

void TGestoreWorkspace::AggiungiRecente(const QString& percorso) {
    QStringList elenco = Recenti();
    elenco.removeAll(percorso);
    elenco.prepend(percorso);
    Impostazioni().setValue(ChiaveRecenti, elenco.mid(0, MassimoRecenti));
    AggiornaRecenti();
}

// Rebuilt at each change: "&1 name", "&2 name", ... and a separator, before "E&xit".
void TGestoreWorkspace::AggiornaRecenti() {
    for (QAction* voce : std::exchange(recenti_, {})) {
        sostituzioni_.removeAll(voce);
        delete voce;
    }
    const QStringList elenco = Recenti();
    for (int i = 0; i < elenco.size(); ++i) {
        auto* voce =
            new QAction(QString("&%1 %2").arg(i + 1).arg(QFileInfo(elenco[i]).fileName()), menu_);
        voce->setObjectName(QString("Recente%1").arg(i + 1));
        voce->setStatusTip(elenco[i]);
        voce->setEnabled(eulero05_->isEnabled());
        connect(voce, &QAction::triggered, this, [this, file = elenco[i]] {
            if (ChiediSeModificato()) Apri(file);
        });
        menu_->insertAction(esci_, voce);
        recenti_ << voce;
        sostituzioni_ << voce;
    }
    if (!elenco.isEmpty()) recenti_ << menu_->insertSeparator(esci_);
}

void TGestoreWorkspace::AggiornaTitolo() {
    main_.setWindowTitle("Sistemi Dinamici - " + QFileInfo(file_).fileName() + "[*]");
    main_.setWindowModified(Modificato());
}

void TGestoreWorkspace::Errore(const QString& titolo, const QString& testo) {
    QMessageBox::critical(&main_, titolo, testo);
}
