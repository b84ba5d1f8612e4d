// TMainForm: the program's multiple-document main window. Its menus and tool bar define a
// system through dialogs, run its recalculations in the background with a progress bar,
// interrupt them, change its grid and switch the decimal separator.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include "ui/frame/ErroreApplicazione.h"
#include "ui/frame/FinestreAffidate.h"
#include "ui/frame/MenuFiglio.h"
#include "ui/frame/ThreadPrincipaleQt.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class TAboutBox;
class TBifurcation;
class TComune;
class TFasiChild;
class TGestoreWorkspace;
class TMemoryStatus;
class TSistema;
class TSperanzaChild;
class TSplashScreen;
class TTraiettorieChild;
struct TSchemaCreazione;


class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    // Frees the system's windows, then the system (joining a run), then the engine's windows
    // and the engine.
    ~TMainForm() override;

    QMdiArea* Area() const { return area_; }
    TSistema* Sistema() const { return sistema_.get(); }
    TBifurcation* Bifurcation() const { return bifurcation_.get(); }
    int ContatorePassi() const { return contatorePassi_; }

    // Installs s as the current system, freeing the previous one with its windows, and
    // starts a run of one path unless told not to.
    void SetSistema(std::unique_ptr<TSistema> s, bool ricalcola = true);
    // Frees the system and its windows: no system, as at start.
    void RimuoviSistema();
    // A child window bound to the current system: it is freed with the system, before it.
    void AffidaFinestraAlSistema(QMdiSubWindow* finestra);
    // Registers a system window as a listener of the current system until the user closes it
    // (ChiudiFinestraSistema): told of the runs in the GUI thread, and, if it observes paths
    // (IOsservatorePercorsi), given every path's value by the run's worker.
    void CollegaFinestra(TComune* finestra);
    void ChiudiFinestraSistema(TComune& finestra);
    // Installs the map engine, freeing the previous one with its windows; none disables the
    // map's menu.
    void SetBifurcation(std::unique_ptr<TBifurcation> motore);
    // Whether a child window belongs to the system or to the map engine.
    bool FinestraDelSistema(QMdiSubWindow* finestra) const;
    bool FinestraDellaMappa(QMdiSubWindow* finestra) const;
    // The system windows of the commands, as the dialogs' answers define them (components
    // 1-based); each is attached to the current system.
    TTraiettorieChild* ApriTraiettorie(const QList<int>& componenti);
    // Not yet attached: the sweep's times come first.
    TFasiChild* ApriFasi(int x, int y);
    // An instant that cannot be read or a formula that does not compile is reported and
    // leaves the window as "&Speranza..." describes.
    TSperanzaChild* ApriSperanza(const QString& funzione, const QString& istante);
    TGestoreWorkspace* Workspace() const { return workspace_; }
    // Builds a system from the dialogs of one creation command; any error keeps the
    // current system and its windows and shows the exception report.
    void CreaSistema(const TSchemaCreazione& schema);

    // Ties the program's end to the system: SIGTERM, SIGINT or SIGHUP ends the event loop,
    // the end of the loop stops and joins a run and frees the system; a session logout is
    // refused during a run, as closing the window is.
    void InstallaArrestoOrdinato();
    // The program hands over the windows it makes at start: the splash, shown modally on the
    // first activation, and the about box. A main window without a splash shows none.
    void SetSplash(TSplashScreen* splash);
    void SetAboutBox(TAboutBox* about);
    TMemoryStatus* MemoryStatus() const;

    // GUI thread. PassoCompletato is the progress listener: during a run it comes at most
    // about 30 times a second and once at the end, and shows the paths completed so far.
    void InizioRicalcolo(int n);
    void PassoCompletato();
    void FineRicalcolo();

public slots:
    void Traiettoria1Click();
    void Fasi1Click();
    void Speranza1Click();
    // The window commands without a dialog return the window they open (none without an
    // engine).
    QMdiSubWindow* PianoCartesiano1Click();
    void Biforcazione1Click();
    QMdiSubWindow* Bifdiagram1Click();
    QMdiSubWindow* Lyapunov1Click();
    QMdiSubWindow* Iterazioni1Click();
    QMdiSubWindow* Iterata1Click();
    void Ricalcola1Click();
    void RicalcolaN1Click();
    // Asks for paths, threads and seed, then runs the paths on that many threads.
    void RicalcoloParallelo1Click();
    void Interrompi1Click();
    void Opzioni1Click();
    void Italiano1Click();
    void Inglese1Click();
    // Opens the link manager, or brings the open one forward: one server per program.
    void AvviaDDE1Click();
    void Memoria1Click();
    void HelpAboutItemClick();
    void FileExitItemClick();
    void WindowCascadeItemClick();
    void WindowTileItemClick();
    void WindowArrangeItemClick();
    void WindowMinimizeItemClick();
    // Enables the window commands and merges the active child's menus into the bar.
    void UpdateMenuItems();
    // The program is ending: stops and joins a run, frees the system and its windows.
    void TerminaEsecuzione();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreaAzioni();
    void CreaMenu();
    void CreaBarraStrumenti();
    QAction* Voce(QMenu* menu, const char* testo, const char* nome,
                  const char* suggerimento = nullptr);
    QMenu* Menu(const char* testo, const char* nome, const char* suggerimento = nullptr);
    void AvviaRicalcolo(int n);
    // Tells the user when the current system's grid leaves its plots empty or bare.
    void AvvisaGriglia();
    // Shows a new child window at its own size; returns its sub-window.
    QMdiSubWindow* ApriFinestra(QWidget* finestra);
    QMdiSubWindow* AffidaFinestraAllaMappa(QWidget* finestra);
    void LiberaSistema();
    void MostraErrore(const std::string& testo, const char* titolo);
    void AggiornaElencoFinestre();
    void FormActivate();

    TThreadPrincipaleQt principale_;  // declared first: outlives the system
    std::unique_ptr<TSistema> sistema_;
    TFinestreAffidate finestreSistema_;
    std::unique_ptr<TBifurcation> bifurcation_;
    TFinestreAffidate finestreBiforcazione_;
    QPointer<QMdiSubWindow> gestoreDDE_;  // the link manager, while it is open
    TGestoreWorkspace* workspace_ = nullptr;
    int contatorePassi_ = 0;

    QMdiArea* area_;
    QProgressBar* progressBar_;
    QLabel* statoRicalcolo_ = nullptr;  // "Interruzione in corso..." while a run ends
    QAction* ricalcola_ = nullptr;
    QAction* interrompi_ = nullptr;
    QAction* eulero05_ = nullptr;
    QMenu* debole1_ = nullptr;
    QMenu* nuovo1_ = nullptr;
    QMenu* deterministico1_ = nullptr;
    QMenu* sistema1_ = nullptr;
    QMenu* biforcazione2_ = nullptr;
    QMenu* window1_ = nullptr;
    QAction* ricalcolaN1_ = nullptr;
    QAction* ricalcoloParallelo1_ = nullptr;
    QAction* speranza1_ = nullptr;
    QAction* opzioni1_ = nullptr;
    QList<QAction*> comandiFinestre_;
    QList<QAction*> elencoFinestre_;
    QList<IMenuFiglio::Voce> menuPrincipali_;
    bool primaAttivazione_ = true;
    QPointer<TSplashScreen> splash_;
    QPointer<TAboutBox> aboutBox_;
    QPointer<TMemoryStatus> memoryStatus_;  // at most one; cleared when the user closes it
};
