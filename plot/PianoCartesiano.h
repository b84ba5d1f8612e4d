// TPianoCartesiano: the one plotting surface. It maps a rectangle of the real plane onto its
// client area, draws the axes, lets the user zoom, zoom out and pan with the mouse, and has a
// background thread (TRepaintThread) draw the data onto its canvas one step at a time.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "core/base/Extended.h"
#include "core/base/Funzione.h"
#include "plot/CalcoloDati.h"
#include "plot/DatiPiano.h"
#include "plot/Pittore.h"
#include "plot/Scale.h"
#include "plot/Segmento.h"

class TPianoCartesiano;

enum class TPCMode { pcmZoom, pcmMove, pcmInvZoom, pcmNone };

// Edges of the area a repaint covers; right and bottom are one past the last pixel, and the
// column loops run from left to right inclusive.
struct TClipArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// The pen of a move/line drawing: its colour, the position where the next line starts, and
// for curves drawn column by column whether the previous column left the pen down.
struct TPenna {
    explicit TPenna(QRgb colore_ = qRgb(0, 0, 0)) : colore(colore_) {}

    QRgb colore;
    QPoint posizione;
    bool giu = false;

    void MoveTo(QPoint p) { posizione = p; }
    void LineTo(QImage& immagine, QPoint p) {
        TracciaSegmento(immagine, posizione, p, colore);
        posizione = p;
    }
    // The next column of a curve: a line from the previous column, or the start of a piece.
    void Traccia(QImage& immagine, QPoint p) {
        if (giu)
            LineTo(immagine, p);
        else
            MoveTo(p);
        giu = true;
    }
    // A column without a value: the curve has a gap.
    void Alza() { giu = false; }
};

// One repaint of a plane's foreground. The constructor runs in the GUI thread and paints the
// background; Start runs PaintForeground on the plane's painter thread, which draws under the
// canvas lock and never waits for the GUI thread. Its end is reported to the plane by a queued
// call.
class TRepaintThread {
public:
    explicit TRepaintThread(TPianoCartesiano& piano);
    ~TRepaintThread();  // waits for the drawing to end
    TRepaintThread(const TRepaintThread&) = delete;
    TRepaintThread& operator=(const TRepaintThread&) = delete;

    void Start(unsigned generazione);
    void Terminate() { terminated_.store(true, std::memory_order_relaxed); }
    bool Terminated() const { return terminated_.load(std::memory_order_relaxed); }
    // Raises "Done!" once the thread has been asked to terminate; called before every step.
    void ControllaTerminazione() const;

    // One elementary drawing step: holds the canvas lock for its lifetime.
    class Passo {
    public:
        explicit Passo(TRepaintThread& thread);
        // The canvas, to draw on while the step lasts.
        QImage& Tela() { return tela_; }

    private:
        std::scoped_lock<std::mutex> lock_;
        QImage& tela_;
    };

private:
    void Execute(unsigned generazione);

    TPianoCartesiano& piano_;
    std::atomic<bool> terminated_{false};
    bool avviato_ = false;
};

class TPianoCartesiano : public QWidget {
    Q_OBJECT
public:
    enum Indice { iMinX = 0, iDX = 1, iMinY = 2, iDY = 3 };
    // A pixel coordinate never leaves this range, so no conversion overflows and a line to a
    // far point is still drawn in the right direction.
    static constexpr int LimitePixel = 1 << 20;

    explicit TPianoCartesiano(QWidget* parent = nullptr);
    ~TPianoCartesiano() override;  // stops the repaint

    // The extent by index: 0 MinX, 1 DX, 2 MinY, 3 DY. The setter ignores an unchanged value,
    // raises "Invalid coordinate!" for a width or height that is not positive (keeping the
    // old value), and repaints in every other case.
    Extended Estensione(int indice) const;
    void SetEstensione(int indice, Extended valore);
    Extended MinX() const { return estensione_[iMinX]; }
    Extended DX() const { return estensione_[iDX]; }
    Extended MinY() const { return estensione_[iMinY]; }
    Extended DY() const { return estensione_[iDY]; }
    void SetMinX(Extended v) { SetEstensione(iMinX, v); }
    void SetDX(Extended v) { SetEstensione(iDX, v); }
    void SetMinY(Extended v) { SetEstensione(iMinY, v); }
    void SetDY(Extended v) { SetEstensione(iDY, v); }

    TPCMode PCMode() const { return pcMode_; }
    void SetPCMode(TPCMode mode) { pcMode_ = mode; }
    // Fired after a mouse zoom, zoom-out or pan ends.
    void SetOnAggiorna(std::function<void(TPianoCartesiano&)> handler) {
        onAggiorna_ = std::move(handler);
    }

    Extended PixelToX(int px) const;
    Extended PixelToY(int py) const;
    // Nearest pixel, ties to even, kept within +-LimitePixel (NaN maps to -LimitePixel).
    int XToPixel(Extended x) const;
    int YToPixel(Extended y) const;
    // The area a repaint covers, captured when it starts: the whole client area.
    TClipArea ClipArea() const { return clipArea_; }
    // The background colour.
    QColor Colore() const { return colore_; }
    // The world coordinates under the mouse, as the status bar shows them.
    QString Hint() const { return hint_; }

    // Requests a repaint. Any number of requests before the event loop takes the first one
    // cause one Paint; a Paint while a thread draws cancels it and one fresh repaint follows.
    void Invalida();
    // Cancels the repaint under way and waits for its thread; afterwards no worker touches
    // the plane. Call before changing anything the painting hooks read.
    void StopRepaint();
    // A repaint is requested or under way.
    bool InRidisegno() const { return richiesta_.isActive() || repaint_ != nullptr; }
    // A copy of the canvas, taken under the canvas lock.
    QImage CopiaTela() const;
    // Repaints started since the plane was made.
    int RidisegniAvviati() const { return ridisegniAvviati_; }

    // The scales drawn over the canvas; on at start.
    bool Scala() const { return scala_; }
    void SetScala(bool visibile);
    // The canvas with the scales over it: the picture a user copies or saves.
    QImage Immagine() const;
    // What the plane draws, as a table, for fitting and export; nothing for a plane that
    // does not give one, or when ferma is set before the table is complete. Runs on any
    // thread, like the foreground painting.
    virtual std::optional<TDatiPiano> Dati(const std::atomic<bool>& ferma);
    // The plane gives its data (Dati): the windows then offer the fit and the data export.
    virtual bool DatiDisponibili() const { return false; }
    // Computes Dati on a thread of its own, then elabora there with the table (a false
    // return counts as no table), and hands the table to fatto in the GUI thread; a later
    // request or StopRepaint stops it, and fatto then gets nothing. Nothing runs once the
    // plane is gone. elabora may read the plane, whose extent stays until fatto runs.
    void RichiediDati(TCalcoloDati::TFatto fatto,
                      std::function<bool(const TDatiPiano&)> elabora = {});
    // "Adatta" (key F): once the data are computed, the extent that shows them all with a
    // 5 % margin, reported to OnAggiorna; no change when there is nothing to fit.
    void Adatta();

signals:
    // The last repaint has ended and no other is pending.
    void RidisegnoTerminato();

protected:
    // Draws the layer computed in the GUI thread: the base fills and draws the axes.
    virtual void PaintBackground(QImage& bitmap);
    // Draws the data on the repaint thread, one step (TRepaintThread::Passo) at a time,
    // checking for termination before each step. The base draws nothing.
    virtual void PaintForeground(TRepaintThread& thread);
    // The row of f applied `volte` times to x, or nothing when an evaluation raises or the
    // value is not finite (a gap in a curve).
    std::optional<int> RigaDi(TFunzione& f, Extended x, int volte = 1) const;
    // The red diagonal y = x across the clip area.
    void DisegnaDiagonale(QImage& bitmap) const;
    // Stores the four extents at once, after StopRepaint, without validation.
    void ImpostaEstensione(const std::array<Extended, 4>& estensione);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    friend class TRepaintThread;

    void Paint();
    void StartRepaint();
    void RepaintDone(unsigned generazione);
    // Applies the zoom, zoom-out or pan that a left-button release ends.
    void FineTrascinamento();
    // The zoom frame with its corners ordered: left <= right, top <= bottom.
    QRect Riquadro() const;

    std::array<Extended, 4> estensione_{0, 10, -10, 20};
    TPCMode pcMode_ = TPCMode::pcmNone;
    std::function<void(TPianoCartesiano&)> onAggiorna_;
    bool mouseDown_ = false;
    std::array<QPoint, 2> rubber_;
    QPoint inizioPan_;
    std::array<Extended, 4> estensioneSalvata_{};
    QString hint_;
    bool scala_ = true;
    TCacheScale cacheScale_;  // GUI thread only
    TCalcoloDati calcoloDati_;

    TClipArea clipArea_;
    QColor colore_{128, 128, 128};
    // The canvas and its lock: the repaint thread draws and the GUI thread shows it.
    mutable std::mutex bloccoTela_;
    QImage tela_;

    std::unique_ptr<TPittore> pittore_;  // made at the first repaint; outlives repaint_
    std::unique_ptr<TRepaintThread> repaint_;
    unsigned generazione_ = 0;  // tells a stale end report from the current one
    bool restart_ = false;
    int ridisegniAvviati_ = 0;
    // Coalesces requests; a restart comes no sooner than one display frame after the last.
    QTimer richiesta_;
    std::chrono::steady_clock::time_point ultimoAvvio_{};
    // Shows the growing canvas while a thread draws.
    QTimer mostra_;
};
