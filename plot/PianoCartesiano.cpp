#include "plot/PianoCartesiano.h"

#include <algorithm>
#include <cmath>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QStatusTipEvent>

#include "core/base/Conversioni.h"
#include "core/base/Exception.h"
#include "plot/Scale.h"

namespace {

using namespace std::chrono_literals;

// How often a growing canvas is shown, and the shortest time between two repaint starts:
// requests faster than the display cost nothing but the cancellation of the drawing.
constexpr auto Fotogramma = 33ms;

int PixelVicino(Extended v) {
    constexpr Extended limite = TPianoCartesiano::LimitePixel;
    if (!(v > -limite)) return -TPianoCartesiano::LimitePixel;  // also NaN
    if (v > limite) return TPianoCartesiano::LimitePixel;
    // The x87 store rounds as lrint does (ties to even) without lrint's library call.
    int pixel;
    asm("fistpl %0" : "=m"(pixel) : "t"(v) : "st");
    return pixel;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TRepaintThread

TRepaintThread::TRepaintThread(TPianoCartesiano& piano) : piano_(piano) {
    // The background is painted here, in the GUI thread, before the worker exists.
    std::scoped_lock lock(piano.bloccoTela_);
    piano.PaintBackground(piano.tela_);
}

TRepaintThread::~TRepaintThread() {
    if (avviato_) piano_.pittore_->Attendi();
}

void TRepaintThread::Start(unsigned generazione) {
    if (!piano_.pittore_) piano_.pittore_ = std::make_unique<TPittore>();
    piano_.pittore_->Esegui([this, generazione] { Execute(generazione); });
    avviato_ = true;
}

void TRepaintThread::ControllaTerminazione() const {
    if (Terminated()) throw Exception("Done!");
}

TRepaintThread::Passo::Passo(TRepaintThread& thread)
    : lock_(thread.piano_.bloccoTela_), tela_(thread.piano_.tela_) {}

void TRepaintThread::Execute(unsigned generazione) {
    try {
        if (!Terminated()) piano_.PaintForeground(*this);
    } catch (...) {
        // "Done!" and whatever a routine let through only end the drawing.
    }
    // The plane waits for this drawing before it is destroyed, and a destroyed plane drops its
    // queued calls, so the call never reaches a freed plane.
    TPianoCartesiano* piano = &piano_;
    QMetaObject::invokeMethod(
        piano, [piano, generazione] { piano->RepaintDone(generazione); },
        Qt::QueuedConnection);
}

// ---------------------------------------------------------------------------------------
// TPianoCartesiano

TPianoCartesiano::TPianoCartesiano(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);  // the hint follows the mouse also without a button
    setFocusPolicy(Qt::ClickFocus);  // for the fit key
    richiesta_.setSingleShot(true);
    connect(&richiesta_, &QTimer::timeout, this, [this] { Paint(); });
    mostra_.setInterval(Fotogramma);
    connect(&mostra_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

TPianoCartesiano::~TPianoCartesiano() { StopRepaint(); }

Extended TPianoCartesiano::Estensione(int indice) const {
    if (indice < 0 || indice > 3) throw ERangeError();
    return estensione_[static_cast<std::size_t>(indice)];
}

void TPianoCartesiano::SetEstensione(int indice, Extended valore) {
    if (indice < 0 || indice > 3) throw ERangeError();
    Extended& campo = estensione_[static_cast<std::size_t>(indice)];
    if (valore == campo) return;
    StopRepaint();
    const Extended vecchio = campo;
    campo = valore;
    const bool valida = DX() > 0 && DY() > 0;
    if (!valida) campo = vecchio;
    Invalida();
    if (!valida) throw Exception("Invalid coordinate!");
}

void TPianoCartesiano::ImpostaEstensione(const std::array<Extended, 4>& estensione) {
    StopRepaint();
    estensione_ = estensione;
    Invalida();
}

Extended TPianoCartesiano::PixelToX(int px) const {
    return px * DX() / width() + MinX();
}

Extended TPianoCartesiano::PixelToY(int py) const {
    return (height() - py) * DY() / height() + MinY();
}

int TPianoCartesiano::XToPixel(Extended x) const {
    return PixelVicino(width() * (x - MinX()) / DX());
}

int TPianoCartesiano::YToPixel(Extended y) const {
    return PixelVicino(height() - height() * (y - MinY()) / DY());
}

QImage TPianoCartesiano::CopiaTela() const {
    std::scoped_lock lock(bloccoTela_);
    return tela_.copy();
}

void TPianoCartesiano::SetScala(bool visibile) {
    scala_ = visibile;
    update();
}

QImage TPianoCartesiano::Immagine() const {
    QImage immagine = CopiaTela();
    if (scala_ && !immagine.isNull()) {
        QPainter painter(&immagine);
        DisegnaScale(painter, *this);
    }
    return immagine;
}

std::optional<TDatiPiano> TPianoCartesiano::Dati(const std::atomic<bool>&) {
    return std::nullopt;
}

void TPianoCartesiano::RichiediDati(TCalcoloDati::TFatto fatto,
                                    std::function<bool(const TDatiPiano&)> elabora) {
    auto calcolo = [this, elabora = std::move(elabora)](const std::atomic<bool>& ferma) {
        std::optional<TDatiPiano> dati = Dati(ferma);
        if (dati && elabora && !elabora(*dati)) dati.reset();
        return dati;
    };
    calcoloDati_.Avvia(this, std::move(calcolo), std::move(fatto));
}

void TPianoCartesiano::Adatta() {
    if (!DatiDisponibili()) return;
    RichiediDati([this](std::optional<TDatiPiano> dati) {
        const auto estensione = dati ? EstensioneAdattata(*dati) : std::nullopt;
        if (!estensione) return;
        ImpostaEstensione(*estensione);
        if (onAggiorna_) onAggiorna_(*this);
    });
}

// ---------------------------------------------------------------------------------------
// Repaint

void TPianoCartesiano::Invalida() {
    if (richiesta_.isActive()) return;
    // A request that cancels a drawing is served at once; a start waits for the next frame.
    const auto trascorso = std::chrono::steady_clock::now() - ultimoAvvio_;
    const auto attesa = repaint_ || trascorso >= Fotogramma
                            ? 0ms
                            : std::chrono::ceil<std::chrono::milliseconds>(Fotogramma - trascorso);
    richiesta_.start(attesa);
}

void TPianoCartesiano::Paint() {
    if (repaint_) {
        restart_ = true;
        repaint_->Terminate();
        return;
    }
    StartRepaint();
}

void TPianoCartesiano::StartRepaint() {
    if (tela_.isNull()) {  // no area: nothing to draw
        emit RidisegnoTerminato();
        return;
    }
    clipArea_ = {0, 0, tela_.width(), tela_.height()};
    restart_ = false;
    // The canvas is the size of ClipArea, so the background is painted on it directly.
    repaint_ = std::make_unique<TRepaintThread>(*this);
    repaint_->Start(++generazione_);
    ultimoAvvio_ = std::chrono::steady_clock::now();
    ++ridisegniAvviati_;
    mostra_.start();  // the first frame shows the background; RepaintDone the end
}

void TPianoCartesiano::RepaintDone(unsigned generazione) {
    if (!repaint_ || generazione != generazione_) return;  // a drawing StopRepaint waited for
    repaint_.reset();  // its last act was to queue this call: the wait is immediate
    mostra_.stop();
    update();
    if (restart_)
        Invalida();
    else if (!richiesta_.isActive())
        emit RidisegnoTerminato();
}

void TPianoCartesiano::StopRepaint() {
    calcoloDati_.Ferma();  // a table under way reads what the caller is about to change
    if (!repaint_) return;
    restart_ = false;
    repaint_->Terminate();
    try {
        repaint_.reset();
    } catch (...) {
    }
    mostra_.stop();
    update();
}

void TPianoCartesiano::PaintBackground(QImage& bitmap) {
    bitmap.fill(colore_);
    const TClipArea clip = ClipArea();
    const int y0 = YToPixel(0);
    const int x0 = XToPixel(0);
    TracciaSegmento(bitmap, QPoint(0, y0), QPoint(clip.right, y0), qRgb(0, 0, 0));
    TracciaSegmento(bitmap, QPoint(x0, clip.bottom), QPoint(x0, 0), qRgb(0, 0, 0));
}

void TPianoCartesiano::PaintForeground(TRepaintThread&) {}

std::optional<int> TPianoCartesiano::RigaDi(TFunzione& f, Extended x, int volte) const {
    try {
        for (int i = 0; i < volte; ++i) x = f.Valore(x);
    } catch (...) {
        return std::nullopt;
    }
    if (!std::isfinite(x)) return std::nullopt;
    return YToPixel(x);
}

void TPianoCartesiano::DisegnaDiagonale(QImage& bitmap) const {
    const TClipArea clip = ClipArea();
    TracciaSegmento(bitmap, QPoint(clip.left, YToPixel(PixelToX(clip.left))),
                    QPoint(clip.right, YToPixel(PixelToX(clip.right))), qRgb(255, 0, 0));
}

// ---------------------------------------------------------------------------------------
// Widget events

void TPianoCartesiano::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    {
        std::scoped_lock lock(bloccoTela_);
        if (tela_.isNull())
            painter.fillRect(event->rect(), colore_);
        else
            painter.drawImage(event->rect(), tela_, event->rect());
    }
    if (scala_) painter.drawImage(0, 0, cacheScale_.Immagine(*this));
    if (mouseDown_ && (pcMode_ == TPCMode::pcmZoom || pcMode_ == TPCMode::pcmInvZoom)) {
        // The zoom frame in black and white dashes, seen on every background.
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(Riquadro());
        painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
        painter.drawRect(Riquadro());
    }
}

void TPianoCartesiano::resizeEvent(QResizeEvent*) {
    StopRepaint();
    {
        std::scoped_lock lock(bloccoTela_);
        if (width() > 0 && height() > 0) {
            tela_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
            tela_.fill(colore_);
        } else {
            tela_ = QImage();
        }
    }
    Invalida();
}

void TPianoCartesiano::mousePressEvent(QMouseEvent* event) {
    if (pcMode_ == TPCMode::pcmNone || event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    if (pcMode_ == TPCMode::pcmMove) {
        inizioPan_ = p;
        estensioneSalvata_ = estensione_;
    } else {
        rubber_ = {p, p};
    }
    mouseDown_ = true;
}

void TPianoCartesiano::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (mouseDown_) {
        if (pcMode_ == TPCMode::pcmMove) {
            const int dx = p.x() - inizioPan_.x();
            const int dy = p.y() - inizioPan_.y();
            StopRepaint();
            estensione_[iMinX] = estensioneSalvata_[iMinX] - Extended(dx) / width() * DX();
            estensione_[iMinY] = estensioneSalvata_[iMinY] + Extended(dy) / height() * DY();
            Invalida();
        } else if (pcMode_ == TPCMode::pcmZoom || pcMode_ == TPCMode::pcmInvZoom) {
            rubber_[1] = p;
            update();
        }
    }
    hint_ = QString::fromStdString("X: " + FormatoFisso(PixelToX(p.x()), 7, 3) +
                                   " - Y: " + FormatoFisso(PixelToY(p.y()), 7, 3));
    QStatusTipEvent suggerimento(hint_);
    QCoreApplication::sendEvent(this, &suggerimento);
}

void TPianoCartesiano::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F && event->modifiers() == Qt::NoModifier)
        Adatta();
    else
        QWidget::keyPressEvent(event);
}

void TPianoCartesiano::leaveEvent(QEvent*) {
    QStatusTipEvent vuoto{QString()};
    QCoreApplication::sendEvent(this, &vuoto);
}

void TPianoCartesiano::mouseReleaseEvent(QMouseEvent* event) {
    if (pcMode_ == TPCMode::pcmNone) return;
    if (event->button() == Qt::LeftButton) {
        mouseDown_ = false;
        FineTrascinamento();
        if (onAggiorna_) onAggiorna_(*this);
    }
    pcMode_ = TPCMode::pcmNone;
    unsetCursor();
}

QRect TPianoCartesiano::Riquadro() const {
    const auto [a, b] = rubber_;
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

void TPianoCartesiano::FineTrascinamento() {
    if (pcMode_ == TPCMode::pcmMove) {
        Invalida();
        return;
    }
    const QRect r = Riquadro();
    update();  // erases the frame
    const int left = r.left(), top = r.top(), right = r.right(), bottom = r.bottom();
    if (!(right > left && bottom > top)) return;
    std::array<Extended, 4> nuova{};
    if (pcMode_ == TPCMode::pcmZoom) {
        nuova[iMinX] = PixelToX(left);
        nuova[iDX] = PixelToX(right) - nuova[iMinX];
        nuova[iMinY] = PixelToY(bottom);
        nuova[iDY] = PixelToY(top) - nuova[iMinY];
    } else {
        const Extended w = width(), h = height();
        nuova[iDX] = w * DX() / (right - left);
        nuova[iDY] = h * DY() / (bottom - top);
        nuova[iMinX] = MinX() - left / w * nuova[iDX];
        nuova[iMinY] = MinY() - (h - bottom) / h * nuova[iDY];
    }
    ImpostaEstensione(nuova);
}
