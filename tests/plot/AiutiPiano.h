// Shared by the plane tests: function objects from lambdas, waiting for a repaint's end, and
// reading the canvas at world coordinates.
#pragma once

#include <functional>
#include <utility>

#include <QImage>
#include <QtTest>

#include "core/base/Funzione.h"
#include "plot/PianoCartesiano.h"

namespace prova {

class FunzioneLambda : public TFunzione {
public:
    explicit FunzioneLambda(std::function<Extended(Extended)> f) : f_(std::move(f)) {}
    Extended Valore(Extended x) override { return f_(x); }

private:
    std::function<Extended(Extended)> f_;
};

class MultiLambda : public TMultiFunzione {
public:
    explicit MultiLambda(std::function<void(int&, Extended*, Extended)> f) : f_(std::move(f)) {}
    void Valori(int& count, Extended* buffer, Extended x) override { f_(count, buffer, x); }

private:
    std::function<void(int&, Extended*, Extended)> f_;
};

template <class F>
std::unique_ptr<TFunzione> Funzione(F f) {
    return std::make_unique<FunzioneLambda>(std::move(f));
}

// Shows the plane as a window of the given client size: a hidden widget has no canvas.
inline void Mostra(QWidget& piano, int w, int h) {
    piano.resize(w, h);
    piano.show();
    QVERIFY(QTest::qWaitForWindowExposed(&piano));
}

// Waits until no repaint is requested or running, then returns the canvas.
inline QImage Tela(const TPianoCartesiano& piano) {
    [&] { QTRY_VERIFY_WITH_TIMEOUT(!piano.InRidisegno(), 20000); }();
    return piano.CopiaTela();
}

inline QRgb Pixel(const QImage& tela, int x, int y) { return tela.pixel(x, y) & 0xFFFFFF; }

constexpr QRgb Giallo = 0xFFFF00, Bianco = 0xFFFFFF, Nero = 0x000000, Blu = 0x0000FF,
               Rosso = 0xFF0000;

// Pixels of colour c within one pixel of (x, y).
inline bool Vicino(const QImage& tela, int x, int y, QRgb c) {
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (tela.valid(x + dx, y + dy) && Pixel(tela, x + dx, y + dy) == c) return true;
    return false;
}

inline int ContaColonna(const QImage& tela, int x, QRgb c) {
    int n = 0;
    for (int y = 0; y < tela.height(); ++y) n += Pixel(tela, x, y) == c;
    return n;
}

inline int ContaColore(const QImage& tela, QRgb c) {
    int n = 0;
    for (int x = 0; x < tela.width(); ++x) n += ContaColonna(tela, x, c);
    return n;
}

}  // namespace prova
