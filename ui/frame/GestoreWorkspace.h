// TGestoreWorkspace: the main window's workspace files. Adds "&Apri...", "&Salva",
// "Salva &con nome..." and the recent files to "&File", keeps the title's file name and
// modified mark, and asks before unsaved changes would be lost.
#pragma once

#include <optional>

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include "core/workspace/Workspace.h"

class QAction;
class QMenu;
class TMainForm;

class TGestoreWorkspace : public QObject {
    Q_OBJECT
public:
    static constexpr int MassimoRecenti = 8;

    // Inserts its commands into menu: the file commands first, the recent files before
    // "E&xit". Without a file opened or saved the main window behaves as if it had none.
    TGestoreWorkspace(TMainForm& main, QMenu* menu);

    // Reads, compiles and then installs the workspace at percorso; any error is shown, names
    // its place, and leaves everything as it was. True when installed.
    bool Apri(const QString& percorso);
    // Writes the workspace to percorso, which becomes the open file. Errors are shown.
    bool Salva(const QString& percorso);
    void Apri1Click();
    void Salva1Click();
    void SalvaConNome1Click();

    QString File() const { return file_; }
    // Some change since the file was opened or saved (always false without a file).
    bool Modificato();
    // With unsaved changes to a file, asks whether to save them: true when the caller may
    // go on (saved, or discarded), false when the user cancels or the save fails.
    bool ChiediSeModificato();
    // The workspace on screen.
    TWorkspace Attuale();
    // Reads the system's description while no path is being computed: before each run.
    void RicordaSistema();
    // The parallel command's last seed and thread count, saved with the workspace.
    TParalleloWs& Parallelo() { return parallelo_; }
    QStringList Recenti() const;

private:
    void AggiungiRecente(const QString& percorso);
    void AggiornaRecenti();
    void AggiornaTitolo();
    void Errore(const QString& titolo, const QString& testo);

    TMainForm& main_;
    QString file_;
    std::optional<TWorkspace> salvato_;  // as last opened or saved
    std::optional<TSistemaWs> sistema_;  // the system's description, read between runs
    TParalleloWs parallelo_;
    QMenu* menu_;
    QAction* esci_;                 // the recent files go before it
    QAction* eulero05_;             // enabled exactly while no path is being computed
    QList<QAction*> recenti_;       // with their separator
    QList<QAction*> sostituzioni_;  // the commands that replace the workspace
    QTimer controllo_;              // follows changes for the title's mark while a file is open
};
