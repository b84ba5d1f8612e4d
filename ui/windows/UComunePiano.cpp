#include "ui/windows/UComunePiano.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QToolBar>
#include <QVBoxLayout>

#include "plot/SizePianoCartesiano.h"
#include "ui/frame/ImmaginiAzioni.h"

namespace {

struct TStrumento {
    const char* nome;
    const char* suggerimento;
    TImmagineStrumento immagine;
    TPCMode modo;
    Qt::CursorShape cursore;
};

constexpr TStrumento Strumenti[] = {
    {"ToolButton1", "Zoom", TImmagineStrumento::Zoom, TPCMode::pcmZoom, Qt::BusyCursor},
    {"ToolButton2", "Move", TImmagineStrumento::Move, TPCMode::pcmMove, Qt::DragMoveCursor},
    {"ToolButton3", "Zoom Inverso", TImmagineStrumento::ZoomInverso, TPCMode::pcmInvZoom,
     Qt::CrossCursor},
    {"ToolButton5", nullptr, TImmagineStrumento::Nessuno, TPCMode::pcmNone, Qt::ArrowCursor},
};

}  // namespace

TComunePiano::TComunePiano(QWidget* parent)
    : TComune(parent), toolBar_(new QToolBar(this)), size_(new TSizePianoCartesiano(this)),
      layout_(new QVBoxLayout(this)) {
    resize(435, 300);
    toolBar_->setObjectName("ToolBar1");
    toolBar_->setIconSize(QSize(16, 16));
    for (const TStrumento& s : Strumenti) {
        if (s.modo == TPCMode::pcmNone) toolBar_->addSeparator()->setObjectName("ToolButton4");
        QAction* azione = toolBar_->addAction(ImmagineStrumento(s.immagine), QString());
        azione->setObjectName(s.nome);
        if (s.suggerimento) azione->setStatusTip(s.suggerimento);
        azione->setToolTip(s.suggerimento ? s.suggerimento : "");
        toolBar_->widgetForAction(azione)->setObjectName(s.nome);
        connect(azione, &QAction::triggered, this, [this, &s] {
            if (!piano_) return;
            piano_->SetPCMode(s.modo);
            piano_->setCursor(s.cursore);
        });
    }
    size_->setObjectName("SizePianoCartesiano1");
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addWidget(toolBar_);
    layout_->addWidget(size_);
}

void TComunePiano::SetPiano(TPianoCartesiano* piano) {
    piano_ = piano;
    layout_->insertWidget(layout_->count() - 1, piano, 1);
    size_->SetPianoCartesiano(piano);
    piano->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(piano, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        QMenu menu(this);
        menu.addAction("Copia immagine", this, &TComunePiano::CopiaImmagine);
        menu.addAction("Salva immagine...", this, &TComunePiano::SalvaImmagine);
        menu.exec(piano_->mapToGlobal(p));
    });
}

void TComunePiano::AggiungiSopraPiano(QWidget* controllo) {
    layout_->insertWidget(layout_->count() - 1, controllo);
}

void TComunePiano::SetEstensione(const std::array<Extended, 4>& estensione) {
    for (int i = 0; i < 4; ++i) piano_->SetEstensione(i, estensione[static_cast<std::size_t>(i)]);
    size_->Aggiorna();
}

void TComunePiano::SistemaAggiornato(TSistema&) {
    if (piano_) piano_->Invalida();
}

void TComunePiano::CopiaImmagine() { QApplication::clipboard()->setImage(piano_->CopiaTela()); }

void TComunePiano::SalvaImmagine() {
    const QImage immagine = piano_->CopiaTela();
    QString file = QFileDialog::getSaveFileName(this, "Salva immagine", windowTitle() + ".png",
                                                "Immagini PNG (*.png)");
    if (file.isEmpty()) return;
    if (!file.endsWith(".png", Qt::CaseInsensitive)) file += ".png";
    if (!immagine.save(file, "PNG"))
        QMessageBox::critical(this, windowTitle(), "Impossibile salvare l'immagine in " + file);
}
