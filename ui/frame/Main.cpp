#include "ui/frame/Main.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QSessionManager>
#include <QStatusBar>
#include <QStyleOptionProgressBar>
#include <QStylePainter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/base/Conversioni.h"
#include "core/base/Exception.h"
#include "core/discrete/Bifurcation.h"
#include "core/system/Gauss.h"
#include "core/system/Sistema.h"
#include "dde/UDDETopic.h"
#include "ui/frame/DisposizioneFinestre.h"
#include "ui/frame/GestoreWorkspace.h"
#include "ui/frame/ImmaginiAzioni.h"
#include "ui/frame/SchemiCreazione.h"
#include "ui/frame/SegnaliTerminazione.h"
#include "ui/windows/AvvisiPiano.h"
#include "ui/windows/UAboutBox.h"
#include "ui/dialogs/UCoefficienti.h"
#include "ui/dialogs/UDiscreto.h"
#include "ui/dialogs/UFasi.h"
#include "ui/windows/UFasiChild.h"
#include "ui/windows/UIterataChild.h"
#include "ui/windows/UIterazioneChild.h"
#include "ui/windows/UMemoryStatus.h"
#include "ui/dialogs/UParametri.h"
#include "ui/dialogs/URicalcoloParallelo.h"
#include "ui/dialogs/USperanza.h"
#include "ui/windows/USperanzaChild.h"
#include "ui/windows/USplashScreen.h"
#include "ui/dialogs/UTraiettorie.h"
#include "ui/windows/UTraiettorieChild.h"

namespace {

constexpr int GruppoPrincipale = 0;
constexpr int GruppoFinestre = 2;
constexpr int LarghezzaPulsante = 26;

// A run of zero paths leaves the range empty; the style would draw that as an endless
// "busy" animation, so it is drawn as an empty bar instead.
class TProgressBar : public QProgressBar {
protected:
    void paintEvent(QPaintEvent* event) override {
        if (maximum() != minimum()) {
            QProgressBar::paintEvent(event);
            return;
        }
        QStyleOptionProgressBar opzioni;
        initStyleOption(&opzioni);
        opzioni.maximum = 1;
        opzioni.progress = 0;
        QStylePainter(this).drawControl(QStyle::CE_ProgressBar, opzioni);
    }
};

Extended Numero(const QLineEdit* edit) { return StrToFloat(edit->text().toStdString()); }
QString Testo(Extended v) { return QString::fromStdString(FloatToStr(v)); }

}  // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), area_(new QMdiArea), progressBar_(new TProgressBar) {
    setObjectName("MainForm");
    setWindowTitle("Sistemi Dinamici");
    area_->setObjectName("Area");
    progressBar_->setObjectName("ProgressBar1");
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    auto* cliente = new QWidget;
    auto* layout = new QVBoxLayout(cliente);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(area_, 1);
    layout->addWidget(progressBar_);
    setCentralWidget(cliente);
    statusBar()->setObjectName("StatusBar1");  // shows the hint under the mouse
    statoRicalcolo_ = new QLabel(statusBar());
    statoRicalcolo_->setObjectName("StatoRicalcolo");
    statusBar()->addPermanentWidget(statoRicalcolo_);

    CreaAzioni();
    CreaMenu();
    CreaBarraStrumenti();
    // The children show the program's icon through their parent, not the toolkit's.
    setWindowIcon(IconaProgramma());
    auto* chiudiFiglio = new QAction("Chiudi finestra", this);
    chiudiFiglio->setObjectName("ChiudiFinestra");
    chiudiFiglio->setShortcuts(TastiChiusura());
    connect(chiudiFiglio, &QAction::triggered, area_, &QMdiArea::closeActiveSubWindow);
    addAction(chiudiFiglio);

    // Every change of the children re-evaluates the window commands and the merged menus.
    connect(area_, &QMdiArea::subWindowActivated, this, &TMainForm::UpdateMenuItems);
    area_->viewport()->installEventFilter(this);
    UpdateMenuItems();
    Inglese1Click();
    SeminaDaOrologio();
    resize(800, 600);
}

TMainForm::~TMainForm() {
    // The children still change state while the base class tears them down.
    disconnect(area_, nullptr, this, nullptr);
    area_->viewport()->removeEventFilter(this);
    LiberaSistema();
    finestreBiforcazione_.Libera();
}

void TMainForm::CreaAzioni() {
    ricalcola_ = new QAction(ImmagineAzione(TImmagineAzione::Ricalcola), "Ricalcola", this);
    ricalcola_->setObjectName("Ricalcola");
    ricalcola_->setStatusTip("Ricalcola");
    ricalcola_->setToolTip("Ricalcola");
    ricalcola_->setEnabled(false);
    connect(ricalcola_, &QAction::triggered, this, &TMainForm::Ricalcola1Click);

    interrompi_ = new QAction(ImmagineAzione(TImmagineAzione::Interrompi), "Interrompi", this);
    interrompi_->setObjectName("Interrompi");
    interrompi_->setStatusTip("Interrompe il ricalcolo dopo il percorso in corso");
    interrompi_->setToolTip("Interrompi");
    interrompi_->setEnabled(false);
    connect(interrompi_, &QAction::triggered, this, &TMainForm::Interrompi1Click);

    eulero05_ = new QAction(ImmagineAzione(TImmagineAzione::NuovoSistema), "Eulero 0.5...", this);
    eulero05_->setObjectName("Eulero05");
    eulero05_->setStatusTip("Nuovo sistema stocastico, schema di Eulero (ordine forte 0.5)");
    eulero05_->setToolTip("Eulero 0.5...");
}

QMenu* TMainForm::Menu(const char* testo, const char* nome, const char* suggerimento) {
    auto* menu = new QMenu(testo, this);
    menu->setObjectName(nome);
    menu->menuAction()->setObjectName(nome);
    if (suggerimento) menu->menuAction()->setStatusTip(suggerimento);
    return menu;
}

QAction* TMainForm::Voce(QMenu* menu, const char* testo, const char* nome,
                         const char* suggerimento) {
    QAction* voce = menu->addAction(testo);
    voce->setObjectName(nome);
    if (suggerimento) voce->setStatusTip(suggerimento);
    return voce;
}

void TMainForm::CreaMenu() {
    QMenu* file1 = Menu("&File", "File1", "File related commands");
    debole1_ = Menu("&Debole", "Debole1");
    Voce(debole1_, "&1.0...", "N101");
    nuovo1_ = Menu("&Forte", "Nuovo1");
    nuovo1_->addAction(eulero05_);
    Voce(nuovo1_, "&Milstein 1.0...", "Milstein101");
    Voce(nuovo1_, "&Uni 1.5...", "Uni151");
    deterministico1_ = Menu("De&terministico", "Deterministico1");
    Voce(deterministico1_, "Implicit 1.0...", "Implicit101");
    Voce(deterministico1_, "Runge-Kutta 5.0...", "RungeKutta401");
    file1->addMenu(debole1_);
    file1->addMenu(nuovo1_);
    file1->addMenu(deterministico1_);
    file1->addSeparator();
    // Its window belongs to the discrete-map commands.
    connect(Voce(file1, "&Biforcazione...", "Biforcazione1",
                 "Bifurcation diagram and Lyapunov exponent"),
            &QAction::triggered, this, &TMainForm::Biforcazione1Click);
    file1->addSeparator();
    connect(Voce(file1, "E&xit", "FileExitItem", "Exit the application"), &QAction::triggered,
            this, &TMainForm::FileExitItemClick);
    workspace_ = new TGestoreWorkspace(*this, file1);

    for (const TSchemaCreazione& schema : SchemiCreazione()) {
        QAction* comando = findChild<QAction*>(schema.comando);
        connect(comando, &QAction::triggered, this, [this, &schema] { CreaSistema(schema); });
    }

    sistema1_ = Menu("Sis&tema", "Sistema1");
    connect(Voce(sistema1_, "&Traiettoria...", "Traiettoria1"), &QAction::triggered, this,
            &TMainForm::Traiettoria1Click);
    connect(Voce(sistema1_, "&Fasi...", "Fasi1"), &QAction::triggered, this,
            &TMainForm::Fasi1Click);
    sistema1_->addSeparator();
    speranza1_ = Voce(sistema1_, "&Speranza...", "Speranza1");
    connect(speranza1_, &QAction::triggered, this, &TMainForm::Speranza1Click);
    sistema1_->addSeparator();
    sistema1_->addAction(ricalcola_);
    ricalcolaN1_ = Voce(sistema1_, "Ricalcola &N...", "RicalcolaN1");
    ricalcolaN1_->setEnabled(false);
    connect(ricalcolaN1_, &QAction::triggered, this, &TMainForm::RicalcolaN1Click);
    ricalcoloParallelo1_ = Voce(sistema1_, "Ricalcolo &parallelo...", "RicalcoloParallelo1",
                                "Ricalcola molti percorsi su tutti i processori");
    ricalcoloParallelo1_->setEnabled(false);
    connect(ricalcoloParallelo1_, &QAction::triggered, this,
            &TMainForm::RicalcoloParallelo1Click);
    sistema1_->addAction(interrompi_);
    sistema1_->addSeparator();
    opzioni1_ = Voce(sistema1_, "&Opzioni...", "Opzioni1");
    connect(opzioni1_, &QAction::triggered, this, &TMainForm::Opzioni1Click);
    sistema1_->menuAction()->setEnabled(false);

    biforcazione2_ = Menu("&Biforcazione", "Biforcazione2");
    const std::tuple<const char*, const char*, QMdiSubWindow* (TMainForm::*)()> discreti[] = {
        {"&Diagramma", "Diagramma1", &TMainForm::Bifdiagram1Click},
        {"&Iterazioni", "Iterazioni1", &TMainForm::Iterazioni1Click},
        {"&Lyapunov", "Lyapunov1", &TMainForm::Lyapunov1Click},
        {"I&terata", "Iterata1", &TMainForm::Iterata1Click}};
    for (const auto& [testo, nome, comando] : discreti)
        connect(Voce(biforcazione2_, testo, nome), &QAction::triggered, this, comando);
    biforcazione2_->menuAction()->setEnabled(false);

    QMenu* opzioni2 = Menu("&Strumenti", "Opzioni2");
    QMenu* separatore1 = Menu("&Separatore", "Separatore1");
    QAction* italiano1 = Voce(separatore1, "&Italiano (,)", "Italiano1");
    QAction* inglese1 = Voce(separatore1, "Ingl&ese (.)", "Inglese1");
    auto* separatori = new QActionGroup(this);
    separatori->setExclusive(true);
    for (QAction* voce : {italiano1, inglese1}) {
        voce->setCheckable(true);
        separatori->addAction(voce);
    }
    connect(italiano1, &QAction::triggered, this, &TMainForm::Italiano1Click);
    connect(inglese1, &QAction::triggered, this, &TMainForm::Inglese1Click);
    opzioni2->addMenu(separatore1);
    connect(Voce(opzioni2, "Avvia &DDE...", "AvviaDDE1"), &QAction::triggered, this,
            &TMainForm::AvviaDDE1Click);
    connect(Voce(opzioni2, "&Memoria", "Memoria1"), &QAction::triggered, this,
            &TMainForm::Memoria1Click);
    opzioni2->addSeparator();
    connect(Voce(opzioni2, "&Piano Cartesiano", "PianoCartesiano1"), &QAction::triggered, this,
            &TMainForm::PianoCartesiano1Click);

    window1_ = Menu("&Window", "Window1", "Window related commands such as Tile and Cascade");
    const struct {
        const char* testo;
        const char* nome;
        const char* suggerimento;
        void (TMainForm::*comando)();
    } finestre[] = {
        {"&Cascade", "WindowCascadeItem", "Arrange windows to overlap",
         &TMainForm::WindowCascadeItemClick},
        {"&Tile", "WindowTileItem", "Arrange windows without overlap",
         &TMainForm::WindowTileItemClick},
        {"&Arrange Icons", "WindowArrangeItem", "Arrange window icons at bottom of main window",
         &TMainForm::WindowArrangeItemClick},
        {"&Minimize All", "WindowMinimizeItem", "Minimize all windows",
         &TMainForm::WindowMinimizeItemClick},
    };
    for (const auto& f : finestre) {
        QAction* voce = Voce(window1_, f.testo, f.nome, f.suggerimento);
        connect(voce, &QAction::triggered, this, f.comando);
        comandiFinestre_ << voce;
    }
    connect(window1_, &QMenu::aboutToShow, this, &TMainForm::AggiornaElencoFinestre);

    QMenu* help1 = Menu("&Help", "Help1", "Help topics");
    connect(Voce(help1, "&About", "HelpAboutItem"), &QAction::triggered, this,
            &TMainForm::HelpAboutItemClick);

    menuPrincipali_ = {{file1, GruppoPrincipale},       {sistema1_, GruppoPrincipale},
                       {biforcazione2_, GruppoPrincipale}, {opzioni2, GruppoPrincipale},
                       {window1_, GruppoFinestre},      {help1, GruppoFinestre}};
}

void TMainForm::CreaBarraStrumenti() {
    QToolBar* barra = addToolBar("ToolBar1");
    barra->setObjectName("ToolBar1");
    barra->setMovable(false);
    barra->setIconSize(QSize(16, 16));
    const std::pair<QAction*, const char*> pulsanti[] = {
        {ricalcola_, "ToolButton1"}, {interrompi_, "ToolButton2"}, {nullptr, "ToolButton3"},
        {eulero05_, "ToolButton4"}};
    for (const auto& [azione, nome] : pulsanti) {
        if (!azione) {
            barra->addSeparator()->setObjectName(nome);
            continue;
        }
        barra->addAction(azione);
        QWidget* pulsante = barra->widgetForAction(azione);
        pulsante->setObjectName(nome);
        pulsante->setFixedWidth(LarghezzaPulsante);
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_->viewport() &&
        (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved))
        QMetaObject::invokeMethod(this, &TMainForm::UpdateMenuItems, Qt::QueuedConnection);
    if (watched == area_->viewport() && event->type() == QEvent::ChildAdded) {
        // A new child is still being built: its system menu exists once the queued call runs.
        QPointer<QObject> figlio = static_cast<QChildEvent*>(event)->child();
        QMetaObject::invokeMethod(
            this,
            [figlio] {
                if (auto* finestra = qobject_cast<QMdiSubWindow*>(figlio.data()))
                    LasciaTastiChiusura(finestra);
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::SetSplash(TSplashScreen* splash) { splash_ = splash; }

void TMainForm::SetAboutBox(TAboutBox* about) { aboutBox_ = about; }

TMemoryStatus* TMainForm::MemoryStatus() const { return memoryStatus_; }

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QMainWindow::event(event);
}

void TMainForm::FormActivate() {
    if (!primaAttivazione_) return;
    primaAttivazione_ = false;
    // The splash's modal loop runs after the activation has been handled, not inside it.
    if (splash_)
        QMetaObject::invokeMethod(
            splash_, [splash = splash_.data()] { splash->exec(); }, Qt::QueuedConnection);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Eulero05 is disabled exactly while a recalculation runs.
    if (!eulero05_->isEnabled()) {
        event->ignore();
        QMessageBox::information(this, windowTitle(),
                                 "Un ricalcolo è in corso: scegliere \"Interrompi\" e attendere "
                                 "la fine del percorso in corso, poi uscire.");
        return;
    }
    if (!workspace_->ChiediSeModificato()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TMainForm::SetSistema(std::unique_ptr<TSistema> s, bool ricalcola) {
    if (!sistema_) {
        sistema1_->menuAction()->setEnabled(true);
        ricalcola_->setEnabled(true);
        ricalcolaN1_->setEnabled(true);
        ricalcoloParallelo1_->setEnabled(true);
        speranza1_->setEnabled(true);
    } else {
        LiberaSistema();
    }
    s->SetThreadPrincipale(&principale_);
    s->AggiungiNotifica([this](TSistema&) { PassoCompletato(); });
    s->SetOnFineRicalcolo([this](TSistema&) { FineRicalcolo(); });
    s->SetOnErrore([this](const std::string& messaggio) {
        MostraErrore(messaggio, windowTitle().toStdString().c_str());
    });
    sistema_ = std::move(s);
    if (ricalcola) Ricalcola1Click();
}

void TMainForm::AffidaFinestraAlSistema(QMdiSubWindow* finestra) {
    finestreSistema_.Aggiungi(finestra);
}

void TMainForm::CollegaFinestra(TComune* finestra) {
    // The list may still hold the entry while a closed window is being freed.
    QPointer<TComune> destinatario(finestra);
    finestra->SetRegistrazione(sistema_->AggiungiNotifica(
        [destinatario](TSistema& sender) {
            if (destinatario) destinatario->SistemaAggiornato(sender);
        },
        dynamic_cast<IOsservatorePercorsi*>(finestra)));
    finestra->SetOnChiusura([this](TComune& chiusa) { ChiudiFinestraSistema(chiusa); });
}

void TMainForm::ChiudiFinestraSistema(TComune& finestra) {
    if (sistema_ && finestra.Registrazione()) sistema_->RimuoviNotifica(finestra.Registrazione());
    finestra.SetRegistrazione(nullptr);
}

QMdiSubWindow* TMainForm::ApriFinestra(QWidget* finestra) {
    const QSize dimensione = finestra->size();
    QMdiSubWindow* sotto = area_->addSubWindow(finestra);
    sotto->show();
    sotto->resize(dimensione + sotto->size() - finestra->size());
    TieniNellArea(sotto);
    return sotto;
}

bool TMainForm::FinestraDelSistema(QMdiSubWindow* finestra) const {
    return finestreSistema_.Contiene(finestra);
}

bool TMainForm::FinestraDellaMappa(QMdiSubWindow* finestra) const {
    return finestreBiforcazione_.Contiene(finestra);
}

void TMainForm::Traiettoria1Click() {
    if (!sistema_) return;
    TTraiettorie dialogo(this);
    dialogo.ImpostaComponenti(sistema_->Dimensione());
    if (dialogo.exec() != QDialog::Accepted) return;
    ApriTraiettorie(dialogo.Selezionati());
}

// The list's entries read "X1", "X2", ...: the titles name the components the same way.
TTraiettorieChild* TMainForm::ApriTraiettorie(const QList<int>& componenti) {
    auto* finestra = new TTraiettorieChild;
    QString titolo = "Piano delle traiettorie";
    for (int k : componenti) {
        finestra->PianoTraiettorie1()->AddFunzione(sistema_->Componente(k));
        titolo += QString(", X%1").arg(k);
    }
    finestra->setWindowTitle(titolo);
    AffidaFinestraAlSistema(ApriFinestra(finestra));
    CollegaFinestra(finestra);
    return finestra;
}

void TMainForm::Fasi1Click() {
    if (!sistema_) return;
    TFasi dialogo(this);
    dialogo.ImpostaComponenti(sistema_->Dimensione());
    if (dialogo.exec() != QDialog::Accepted) return;
    const QList<int> scelti = dialogo.Selezionati();
    if (scelti.size() != 2) {
        QMessageBox::warning(this, "Attenzione", "Occorre selezionare 2 componenti!");
        return;
    }
    TFasiChild* finestra = ApriFasi(scelti[0], scelti[1]);
    // A number that cannot be read leaves the window open but not told of new paths.
    EseguiComando(this, [&] {
        const Extended inizio = Numero(dialogo.Inizio());
        const Extended fine = Numero(dialogo.Fine());
        const Extended passo = Numero(dialogo.Passo());
        finestra->PianoFasi1()->SetTempi(inizio, fine, passo);
        CollegaFinestra(finestra);
        const QString avviso = AvvisoTempi(inizio, fine, passo);
        if (!avviso.isEmpty()) QMessageBox::warning(this, finestra->windowTitle(), avviso);
    });
}

TFasiChild* TMainForm::ApriFasi(int x, int y) {
    auto* finestra = new TFasiChild;
    finestra->setWindowTitle(finestra->windowTitle() + QString(", X%1, X%2").arg(x).arg(y));
    TPianoFasi* piano = finestra->PianoFasi1();
    piano->SetFunzioneX(sistema_->Componente(x));
    piano->SetFunzioneY(sistema_->Componente(y));
    AffidaFinestraAlSistema(ApriFinestra(finestra));
    return finestra;
}

void TMainForm::Speranza1Click() {
    if (!sistema_) return;
    TSperanza dialogo(this);
    if (dialogo.exec() != QDialog::Accepted) return;
    ApriSperanza(dialogo.Funzione()->text(), dialogo.Istante()->text());
}

TSperanzaChild* TMainForm::ApriSperanza(const QString& funzione, const QString& istante) {
    auto* finestra = new TSperanzaChild;
    AffidaFinestraAlSistema(ApriFinestra(finestra));
    // An unreadable instant leaves the window unattached; a formula error is reported once
    // and leaves it attached, observing nothing. No run starts: the window counts the paths
    // of the next runs.
    EseguiComando(this, [&] {
        finestra->ImpostaIstante(sistema_->Dimensione(), StrToFloat(istante.toStdString()));
        try {
            finestra->ImpostaFunzione(funzione.toStdString(), funzione + " (" + istante + ")");
        } catch (...) {
            CollegaFinestra(finestra);
            throw;
        }
        CollegaFinestra(finestra);
    });
    return finestra;
}

QMdiSubWindow* TMainForm::PianoCartesiano1Click() {
    auto* finestra = new TTraiettorieChild;
    finestra->setWindowTitle("Piano Cartesiano");
    return ApriFinestra(finestra);
}

void TMainForm::Biforcazione1Click() {
    if (!workspace_->ChiediSeModificato()) return;
    TDiscreto dialogo(this);
    if (dialogo.exec() != QDialog::Accepted) return;
    // Any error frees the new engine and keeps the current one with its windows.
    EseguiComando(this, [&] {
        auto motore = std::make_unique<TBifurcation>();
        motore->Dinamica().SetText(dialogo.Dinamica()->text().toStdString());
        motore->Derivata().SetText(dialogo.Derivata()->text().toStdString());
        motore->SetSeed(Numero(dialogo.Seed()));
        SetBifurcation(std::move(motore));
    });
}

void TMainForm::SetBifurcation(std::unique_ptr<TBifurcation> motore) {
    finestreBiforcazione_.Libera();
    bifurcation_ = std::move(motore);
    biforcazione2_->menuAction()->setEnabled(bifurcation_ != nullptr);
}

QMdiSubWindow* TMainForm::Bifdiagram1Click() {
    if (!bifurcation_) return nullptr;
    auto* finestra = new TTraiettorieChild;
    finestra->setWindowTitle("Diagramma di biforcazione");
    finestra->PianoTraiettorie1()->AddMultiFunzione(bifurcation_->CreaBiforcazione());
    return AffidaFinestraAllaMappa(finestra);
}

QMdiSubWindow* TMainForm::Lyapunov1Click() {
    if (!bifurcation_) return nullptr;
    auto* finestra = new TTraiettorieChild;
    finestra->setWindowTitle("Esponente di Lyapunov");
    finestra->PianoTraiettorie1()->AddFunzione(bifurcation_->CreaLyapunov());
    return AffidaFinestraAllaMappa(finestra);
}

QMdiSubWindow* TMainForm::Iterazioni1Click() {
    if (!bifurcation_) return nullptr;
    auto* finestra = new TIterazioneChild(*bifurcation_);
    finestra->PianoIterazione1()->SetFunzione(bifurcation_->CreaIterazione(0));
    return AffidaFinestraAllaMappa(finestra);
}

QMdiSubWindow* TMainForm::Iterata1Click() {
    if (!bifurcation_) return nullptr;
    auto* finestra = new TIterataChild(*bifurcation_);
    finestra->PianoIterata1()->SetMultiFunzione(bifurcation_->CreaBiforcazione());
    finestra->PianoIterata1()->SetFunzione(bifurcation_->CreaIterazione(0));
    return AffidaFinestraAllaMappa(finestra);
}

QMdiSubWindow* TMainForm::AffidaFinestraAllaMappa(QWidget* finestra) {
    QMdiSubWindow* sotto = ApriFinestra(finestra);
    finestreBiforcazione_.Aggiungi(sotto);
    return sotto;
}

void TMainForm::LiberaSistema() {
    finestreSistema_.Libera();
    sistema_.reset();  // stops and joins a run still going
}

void TMainForm::TerminaEsecuzione() { RimuoviSistema(); }

void TMainForm::RimuoviSistema() {
    if (!sistema_) return;
    LiberaSistema();
    FineRicalcolo();
    sistema1_->menuAction()->setEnabled(false);
    ricalcola_->setEnabled(false);
    ricalcolaN1_->setEnabled(false);
    ricalcoloParallelo1_->setEnabled(false);
}

void TMainForm::InstallaArrestoOrdinato() {
    auto* segnali = new TSegnaliTerminazione(this);
    // exit, not quit: quit asks the windows to close, which a run refuses.
    connect(segnali, &TSegnaliTerminazione::Terminazione, this, [] { QCoreApplication::exit(0); });
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TMainForm::TerminaEsecuzione);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& sessione) {
        if (!eulero05_->isEnabled() && sessione.allowsInteraction()) sessione.cancel();
    });
}

void TMainForm::CreaSistema(const TSchemaCreazione& schema) {
    if (!workspace_->ChiediSeModificato()) return;
    int n = 1;
    int m = 1;
    if (schema.chiediDimensioni && !schema.chiediDimensioni(this, n, m)) return;
    const std::unique_ptr<TCoefficienti> coefficienti = schema.creaCoefficienti(this, n, m);
    // Until a system builds or the user cancels: a failure shows its report, keeps the
    // current system, and shows the dialog again as it was left, on the failing field.
    while (coefficienti->exec() == QDialog::Accepted) {
        std::unique_ptr<TSistema> nuovo;
        EseguiComando(this, [&] { nuovo = LeggiSistema(schema, *coefficienti, n, m); });
        if (nuovo) {
            SetSistema(std::move(nuovo));
            AvvisaGriglia();
            return;
        }
        coefficienti->MostraCampoSegnato();
    }
}

void TMainForm::AvviaRicalcolo(int n) {
    InizioRicalcolo(n);
    try {
        sistema_->Avvia(n);
    } catch (...) {
        FineRicalcolo();  // no run started: the commands must not stay disabled
        throw;
    }
}

void TMainForm::Ricalcola1Click() {
    if (!sistema_) return;
    EseguiComando(this, [this] { AvviaRicalcolo(1); });
}

void TMainForm::RicalcolaN1Click() {
    if (!sistema_) return;
    bool ok = false;
    QString risposta = QInputDialog::getText(this, "Opzioni ricalcolo", "Numero ricalcoli:",
                                             QLineEdit::Normal, "0", &ok);
    if (!ok) risposta = "0";
    EseguiComando(this, [&] {
        const int n = StrToInt(risposta.toStdString());
        if (n < 0) {
            QMessageBox::warning(this, "Opzioni ricalcolo",
                                 "Il numero di ricalcoli deve essere 0 o maggiore!");
            return;
        }
        AvviaRicalcolo(n);
    });
}

void TMainForm::RicalcoloParallelo1Click() {
    if (!sistema_) return;
    TRicalcoloParallelo dialogo(this);
    if (dialogo.exec() != QDialog::Accepted) return;
    const TParametriParalleli& p = dialogo.Parametri();
    EseguiComando(this, [&] {
        InizioRicalcolo(p.percorsi);
        try {
            sistema_->AvviaParallelo(p.percorsi, p.numThread, p.seme);
        } catch (...) {
            FineRicalcolo();
            throw;
        }
    });
}

void TMainForm::Interrompi1Click() {
    if (!sistema_) return;
    sistema_->Interrompi();
    // The path under way still completes: say so until the run ends.
    interrompi_->setEnabled(false);
    statoRicalcolo_->setText("Interruzione in corso...");
}

void TMainForm::Opzioni1Click() {
    if (!sistema_) return;
    TParametri parametri(this);
    parametri.Inizio()->setText(Testo(sistema_->Inizio()));
    parametri.Fine()->setText(Testo(sistema_->Fine()));
    parametri.Passo()->setText(Testo(sistema_->Passo()));
    if (parametri.exec() != QDialog::Accepted) return;
    EseguiComando(this, [&] {
        // All three are converted before the grid changes.
        const Extended inizio = Numero(parametri.Inizio());
        const Extended fine = Numero(parametri.Fine());
        const Extended passo = Numero(parametri.Passo());
        sistema_->SetIntervallo(inizio, fine, passo);
        AvviaRicalcolo(1);
        AvvisaGriglia();
    });
}

void TMainForm::AvvisaGriglia() {
    const QString avviso = AvvisoGriglia(sistema_->Inizio(), sistema_->Fine(), sistema_->Passo());
    if (!avviso.isEmpty()) QMessageBox::warning(this, "Attenzione", avviso);
}

void TMainForm::InizioRicalcolo(int n) {
    workspace_->RicordaSistema();  // the system cannot be read while its paths are computed
    ricalcola_->setEnabled(false);
    interrompi_->setEnabled(true);
    eulero05_->setEnabled(false);
    for (QAction* comando : {ricalcolaN1_, ricalcoloParallelo1_, debole1_->menuAction(),
                             nuovo1_->menuAction(), deterministico1_->menuAction(), opzioni1_})
        comando->setEnabled(false);
    progressBar_->setMaximum(n);
    progressBar_->setValue(0);
    contatorePassi_ = 0;
}

void TMainForm::PassoCompletato() {
    if (sistema_) contatorePassi_ = sistema_->PercorsiCompletati();
    progressBar_->setValue(contatorePassi_);
}

void TMainForm::FineRicalcolo() {
    statoRicalcolo_->clear();
    ricalcola_->setEnabled(true);
    interrompi_->setEnabled(false);
    eulero05_->setEnabled(true);
    for (QAction* comando : {ricalcolaN1_, ricalcoloParallelo1_, debole1_->menuAction(),
                             nuovo1_->menuAction(), deterministico1_->menuAction(), opzioni1_})
        comando->setEnabled(true);
}

void TMainForm::Italiano1Click() {
    SetDecimalSeparator(',');
    findChild<QAction*>("Italiano1")->setChecked(true);
}

void TMainForm::Inglese1Click() {
    SetDecimalSeparator('.');
    findChild<QAction*>("Inglese1")->setChecked(true);
}

void TMainForm::AvviaDDE1Click() {
    if (!gestoreDDE_) {
        gestoreDDE_ = TDDETopic::Apri(area_, [this] { return sistema_.get(); });
        if (gestoreDDE_) TieniNellArea(gestoreDDE_);
        return;
    }
    gestoreDDE_->showNormal();
    area_->setActiveSubWindow(gestoreDDE_);
}

void TMainForm::FileExitItemClick() { close(); }

void TMainForm::Memoria1Click() {
    if (memoryStatus_) return;  // the one window is not even brought forward
    memoryStatus_ = new TMemoryStatus;
    ApriFinestra(memoryStatus_);
}

void TMainForm::HelpAboutItemClick() {
    // A main window that was handed no about box makes its own the first time.
    if (!aboutBox_) aboutBox_ = new TAboutBox(this);
    aboutBox_->exec();
}

void TMainForm::WindowCascadeItemClick() { Cascata(area_); }

void TMainForm::WindowTileItemClick() {
    // Side by side: about sqrt(count) rows per column, the last column taking the rest.
    QList<QMdiSubWindow*> finestre;
    int altezzaIcone = 0;
    for (QMdiSubWindow* finestra : area_->subWindowList()) {
        if (finestra->isMinimized())
            altezzaIcone = std::max(altezzaIcone, finestra->height());
        else if (finestra->isVisible())
            finestre << finestra;
    }
    if (finestre.isEmpty()) return;
    const int larghezza = area_->viewport()->width();
    const int altezza = std::max(area_->viewport()->height() - altezzaIcone, 1);
    const int totale = static_cast<int>(finestre.size());
    int righe = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(totale))));
    const int colonne = totale / righe;
    int i = 0;
    for (int c = 0; c < colonne; ++c) {
        if (c == colonne - 1) righe = totale - i;
        const int x0 = larghezza * c / colonne;
        const int x1 = larghezza * (c + 1) / colonne;
        for (int r = 0; r < righe; ++r, ++i) {
            const int y0 = altezza * r / righe;
            const int y1 = altezza * (r + 1) / righe;
            if (finestre[i]->isMaximized()) finestre[i]->showNormal();
            finestre[i]->setGeometry(x0, y0, x1 - x0, y1 - y0);
        }
    }
}

void TMainForm::WindowArrangeItemClick() {
    const QSize spazio = area_->viewport()->size();
    int x = 0;
    int y = spazio.height();
    int altezzaRiga = 0;
    for (QMdiSubWindow* finestra : area_->subWindowList()) {
        if (!finestra->isMinimized()) continue;
        if (x > 0 && x + finestra->width() > spazio.width()) {
            x = 0;
            y -= altezzaRiga;
        }
        altezzaRiga = std::max(altezzaRiga, finestra->height());
        finestra->move(x, y - finestra->height());
        x += finestra->width();
    }
}

void TMainForm::WindowMinimizeItemClick() {
    const QList<QMdiSubWindow*> finestre = area_->subWindowList();
    for (auto i = finestre.size(); i-- > 0;) finestre[i]->showMinimized();
}

void TMainForm::UpdateMenuItems() {
    const bool figli = !area_->subWindowList().isEmpty();
    for (QAction* comando : comandiFinestre_) comando->setEnabled(figli);

    QList<IMenuFiglio::Voce> delFiglio;
    if (QMdiSubWindow* attiva = area_->currentSubWindow())
        if (auto* conMenu = dynamic_cast<IMenuFiglio*>(attiva->widget()))
            delFiglio = conMenu->MenuFiglio();
    auto gruppoDelFiglio = [&](int gruppo) {
        return std::any_of(delFiglio.begin(), delFiglio.end(),
                           [gruppo](const IMenuFiglio::Voce& v) { return v.gruppo == gruppo; });
    };
    QList<IMenuFiglio::Voce> barra;
    for (const IMenuFiglio::Voce& voce : menuPrincipali_)
        if (!gruppoDelFiglio(voce.gruppo)) barra << voce;
    barra << delFiglio;
    std::stable_sort(barra.begin(), barra.end(),
                     [](const IMenuFiglio::Voce& a, const IMenuFiglio::Voce& b) {
                         return a.gruppo < b.gruppo;
                     });
    QList<QAction*> voci;
    for (const IMenuFiglio::Voce& voce : barra) voci << voce.menu->menuAction();
    if (menuBar()->actions() == voci) return;
    menuBar()->clear();
    menuBar()->addActions(voci);
}

void TMainForm::AggiornaElencoFinestre() {
    qDeleteAll(std::exchange(elencoFinestre_, {}));
    const QList<QMdiSubWindow*> finestre = area_->subWindowList();
    if (finestre.isEmpty()) return;
    elencoFinestre_ << window1_->addSeparator();
    for (int i = 0; i < finestre.size(); ++i) {
        QMdiSubWindow* finestra = finestre[i];
        QAction* voce = window1_->addAction(
            QString("&%1 %2").arg(i + 1).arg(finestra->windowTitle()), this,
            [this, finestra = QPointer<QMdiSubWindow>(finestra)] {
                if (finestra) area_->setActiveSubWindow(finestra);
            });
        voce->setCheckable(true);
        voce->setChecked(finestra == area_->currentSubWindow());
        elencoFinestre_ << voce;
    }
}

void TMainForm::MostraErrore(const std::string& testo, const char* titolo) {
    QMessageBox::critical(this, titolo, QString::fromStdString(testo));
}
