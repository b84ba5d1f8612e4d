#include "ui/windows/UComunePiano.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QSvgGenerator>
#include <QToolBar>
#include <QVBoxLayout>

#include "plot/Scale.h"
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

// The vector picture: on the GUI thread, or on the table's thread, which reads the plane only.
bool SalvaSvg(const TPianoCartesiano& piano, const QString& file, const QString& titolo,
              bool scala, const std::optional<TDatiPiano>& dati) {
    QSvgGenerator generatore;
    generatore.setFileName(file);
    generatore.setSize(piano.size());
    generatore.setViewBox(piano.rect());
    generatore.setTitle(titolo);
    QPainter painter;
    if (!painter.begin(&generatore)) return false;
    if (dati)
        DisegnaDati(painter, piano, *dati);
    else
        painter.drawImage(0, 0, piano.CopiaTela());  // a plane without a table: its canvas
    if (scala) DisegnaScale(painter, piano);
    return painter.end();
}

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
    CreaMenuPiano();
    piano->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(piano, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { menuPiano_->popup(piano_->mapToGlobal(p)); });
}

void TComunePiano::CreaMenuPiano() {
    menuPiano_ = new QMenu(this);
    auto voce = [this](const char* testo, const char* nome, auto azione) {
        QAction* a = menuPiano_->addAction(testo, this, azione);
        a->setObjectName(nome);
        return a;
    };
    voce("Copia immagine", "CopiaImmagine1", &TComunePiano::CopiaImmagine);
    voce("Salva immagine...", "SalvaImmagine1", &TComunePiano::SalvaImmagine);
    // Planes that cannot give their data as a table (the iteration planes) offer neither
    // the export nor the fit.
    if (piano_->DatiDisponibili()) {
        voce("Esporta dati...", "EsportaDati1", &TComunePiano::EsportaDati);
        menuPiano_->addSeparator();
        // The plane itself answers the key when it has the focus.
        voce("Adatta", "Adatta1", [this] { piano_->Adatta(); })->setShortcut(Qt::Key_F);
    }
    QAction* scala = voce("Scale", "Scale1", [this](bool v) { piano_->SetScala(v); });
    scala->setCheckable(true);
    scala->setChecked(piano_->Scala());
    connect(menuPiano_, &QMenu::aboutToShow, this, [this, scala] {
        scala->setChecked(piano_->Scala());
    });
}

void TComunePiano::AggiungiSopraPiano(QWidget* controllo) {
    layout_->insertWidget(layout_->count() - 1, controllo);
}

void TComunePiano::SetEstensione(const std::array<Extended, 4>& estensione) {
    const auto imposta = [&] {
        for (int i = 0; i < 4; ++i)
            piano_->SetEstensione(i, estensione[static_cast<std::size_t>(i)]);
    };
    imposta();
    // The panel shows about ten digits and writes them back; a stored extent stays exact.
    size_->Aggiorna();
    imposta();
}

void TComunePiano::SistemaAggiornato(TSistema&) {
    if (piano_) piano_->Invalida();
}

void TComunePiano::CopiaImmagine() { QApplication::clipboard()->setImage(piano_->Immagine()); }

void TComunePiano::SalvaImmagine() {
    static const QString png = "Immagini PNG (*.png)", svg = "Immagini SVG (*.svg)";
    QString filtro = png;
    QString file = QFileDialog::getSaveFileName(this, "Salva immagine", windowTitle() + ".png",
                                                png + ";;" + svg, &filtro);
    if (file.isEmpty()) return;
    // The type the name asks for; a name without one takes the chosen filter's.
    if (!file.endsWith(".png", Qt::CaseInsensitive) && !file.endsWith(".svg", Qt::CaseInsensitive))
        file += filtro == svg ? ".svg" : ".png";
    SalvaImmagineIn(file);
}

void TComunePiano::SalvaImmagineIn(const QString& file) {
    if (!file.endsWith(".svg", Qt::CaseInsensitive))
        Concludi(file, piano_->Immagine().save(file, "PNG"));
    else if (!piano_->DatiDisponibili())
        Concludi(file, SalvaSvg(*piano_, file, windowTitle(), piano_->Scala(), std::nullopt));
    else  // drawn on the table's thread: a long path takes a while
        piano_->RichiediDati(
            [this, file](std::optional<TDatiPiano> dati) { Concludi(file, dati.has_value()); },
            [piano = piano_, file, titolo = windowTitle(), scala = piano_->Scala()](
                const TDatiPiano& dati) { return SalvaSvg(*piano, file, titolo, scala, dati); });
}

void TComunePiano::EsportaDati() {
    QString file = QFileDialog::getSaveFileName(this, "Esporta dati", windowTitle() + ".csv",
                                                "Dati CSV (*.csv)");
    if (file.isEmpty()) return;
    if (!file.endsWith(".csv", Qt::CaseInsensitive)) file += ".csv";
    EsportaDatiIn(file);
}

void TComunePiano::EsportaDatiIn(const QString& file) {
    piano_->RichiediDati(
        [this, file](std::optional<TDatiPiano> dati) { Concludi(file, dati.has_value()); },
        [file](const TDatiPiano& dati) {  // on the table's thread
            const std::string testo = TestoCsv(dati);
            QFile uscita(file);
            return uscita.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                   uscita.write(testo.data(), static_cast<qint64>(testo.size())) ==
                       static_cast<qint64>(testo.size()) &&
                   uscita.flush();
        });
}

void TComunePiano::Concludi(const QString& file, bool riuscito) {
    // Also when the view changed before the data were complete.
    if (!riuscito) QMessageBox::critical(this, windowTitle(), "Nessun file scritto: " + file);
    emit FileScritto(file, riuscito);
}
