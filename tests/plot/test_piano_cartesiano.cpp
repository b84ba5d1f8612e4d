// The plane's mapping, axes, extents, repaint cycle, mouse tools and hint, and the extent
// editor bound to it.
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <mutex>
#include <set>
#include <thread>

#include <QMainWindow>
#include <QStatusBar>
#include <QToolButton>

#include "core/base/Exception.h"
#include "plot/PianoTraiettorie.h"
#include "plot/SizePianoCartesiano.h"
#include "plot/VtrSpin.h"
#include "tests/SeparatoreScope.h"
#include "tests/plot/AiutiPiano.h"

using namespace prova;
using Estensione = std::array<Extended, 4>;
Q_DECLARE_METATYPE(TPCMode)

class TestPianoCartesiano : public QObject {
    Q_OBJECT

    QMainWindow* finestra_ = nullptr;
    TPianoTraiettorie* piano_ = nullptr;

    Estensione Attuale() const {
        return {piano_->MinX(), piano_->DX(), piano_->MinY(), piano_->DY()};
    }

private slots:
    void init() {
        finestra_ = new QMainWindow;
        piano_ = new TPianoTraiettorie;
        finestra_->setCentralWidget(piano_);
        finestra_->statusBar();
        finestra_->show();
        piano_->setFixedSize(200, 100);
        QVERIFY(QTest::qWaitForWindowExposed(finestra_));
        Tela(*piano_);
    }

    void cleanup() { delete finestra_; }

    void axes_lie_on_the_row_and_column_of_zero() {
        QImage tela = Tela(*piano_);
        QCOMPARE(piano_->YToPixel(0), 50);
        QCOMPARE(Pixel(tela, 137, 50), Nero);
        QCOMPARE(Pixel(tela, 0, 20), Nero);
        QCOMPARE(Pixel(tela, 137, 20), piano_->Colore().rgb() & 0xFFFFFF);
        piano_->SetMinX(-5);
        tela = Tela(*piano_);
        QCOMPARE(piano_->XToPixel(0), 100);
        QCOMPARE(Pixel(tela, 100, 20), Nero);
        QCOMPARE(Pixel(tela, 0, 20), piano_->Colore().rgb() & 0xFFFFFF);
    }

    void pixels_round_to_even_and_stay_in_range() {
        // 20 pixels per unit: 0.025 and 0.075 fall on the halves.
        QCOMPARE(piano_->XToPixel(0.025L), 0);
        QCOMPARE(piano_->XToPixel(0.075L), 2);
        const int limite = TPianoCartesiano::LimitePixel;
        QCOMPARE(piano_->XToPixel(NAN), -limite);
        QCOMPARE(piano_->YToPixel(NAN), -limite);
        QCOMPARE(piano_->XToPixel(1e4000L), limite);
        QCOMPARE(piano_->XToPixel(-INFINITY), -limite);
        QCOMPARE(piano_->YToPixel(1e300L), -limite);  // y grows upwards
    }

    void extent_setter_refuses_empty_views_and_ignores_unchanged_values() {
        const int avviati = piano_->RidisegniAvviati();
        piano_->SetDX(10);
        QVERIFY(!piano_->InRidisegno());
        for (int indice : {TPianoCartesiano::iDX, TPianoCartesiano::iDY}) {
            for (Extended cattivo : {0.0L, -1.0L, Extended(NAN)}) {
                try {
                    piano_->SetEstensione(indice, cattivo);
                    QFAIL("accepted an empty view");
                } catch (const Exception& e) {
                    QCOMPARE(e.Message(), std::string("Invalid coordinate!"));
                }
            }
        }
        QCOMPARE(Attuale(), (Estensione{0, 10, -10, 20}));
        Tela(*piano_);
        QCOMPARE(piano_->RidisegniAvviati(), avviati + 1);  // the refusals repaint, once
        piano_->SetMinX(-1e30L);
        QCOMPARE(piano_->MinX(), -1e30L);
    }

    void paint_while_drawing_cancels_and_one_repaint_follows() {
        std::atomic<int> valutazioni = 0;
        piano_->AddFunzione(Funzione([&](Extended x) {
            ++valutazioni;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            return x;
        }));
        QTRY_VERIFY(valutazioni > 5);
        const int avviati = piano_->RidisegniAvviati();
        for (int i = 0; i < 100; ++i) piano_->Invalida();
        Tela(*piano_);
        QCOMPARE(piano_->RidisegniAvviati(), avviati + 1);
        // The cancelled drawing stopped early; the fresh one covered the 201 columns.
        QVERIFY2(valutazioni < 2 * 201, qPrintable(QString::number(valutazioni)));
        QVERIFY(valutazioni >= 201);
    }

    void repaints_draw_on_one_painter_thread_off_the_gui() {
        std::mutex blocco;
        std::set<pid_t> disegnatori;  // kernel thread ids: a joined thread's id is not reused
        piano_->AddFunzione(Funzione([&](Extended x) {
            std::scoped_lock lock(blocco);
            disegnatori.insert(gettid());
            return x;
        }));
        for (int i = 0; i < 3; ++i) {
            piano_->Invalida();
            Tela(*piano_);
        }
        QCOMPARE(piano_->RidisegniAvviati() >= 3, true);
        QCOMPARE(disegnatori.size(), std::size_t{1});
        QVERIFY(*disegnatori.begin() != gettid());
    }

    void mouse_tools_data() {
        QTest::addColumn<TPCMode>("modo");
        QTest::addColumn<QPoint>("da");
        QTest::addColumn<QPoint>("a");
        QTest::addColumn<bool>("destro");
        QTest::addColumn<Estensione>("attesa");
        QTest::addColumn<int>("aggiorna");
        // QTest takes QPoint(0, 0) for the widget's centre: no corner here is (0, 0).
        const Estensione iniziale{0, 10, -10, 20};
        QTest::newRow("zoom") << TPCMode::pcmZoom << QPoint(50, 25) << QPoint(150, 75) << false
                              << Estensione{2.5, 5, -5, 10} << 1;
        QTest::newRow("zoom, frame of zero width")
            << TPCMode::pcmZoom << QPoint(50, 20) << QPoint(50, 60) << false << iniziale << 1;
        QTest::newRow("right button ends the tool")
            << TPCMode::pcmZoom << QPoint(10, 10) << QPoint(90, 90) << true << iniziale << 0;
        QTest::newRow("pan right by a quarter width")
            << TPCMode::pcmMove << QPoint(20, 40) << QPoint(70, 40) << false
            << Estensione{-2.5, 10, -10, 20} << 1;
        QTest::newRow("pan down by a quarter height")
            << TPCMode::pcmMove << QPoint(20, 40) << QPoint(20, 65) << false
            << Estensione{0, 10, -5, 20} << 1;
        QTest::newRow("zoom out into the left half")
            << TPCMode::pcmInvZoom << QPoint(0, 25) << QPoint(100, 75) << false
            << Estensione{0, 20, -20, 40} << 1;
    }

    void mouse_tools() {
        QFETCH(TPCMode, modo);
        QFETCH(QPoint, da);
        QFETCH(QPoint, a);
        QFETCH(bool, destro);
        QFETCH(Estensione, attesa);
        QFETCH(int, aggiorna);
        int chiamate = 0;
        piano_->SetOnAggiorna([&](TPianoCartesiano&) { ++chiamate; });
        piano_->SetPCMode(modo);
        QTest::mousePress(piano_, Qt::LeftButton, {}, da);
        QTest::mouseMove(piano_, (da + a) / 2);
        QTest::mouseMove(piano_, a);
        QTest::mouseRelease(piano_, destro ? Qt::RightButton : Qt::LeftButton, {}, a);
        QCOMPARE(Attuale(), attesa);
        QCOMPARE(chiamate, aggiorna);
        QCOMPARE(piano_->PCMode(), TPCMode::pcmNone);
        // The next drag, without a tool, changes nothing.
        QTest::mousePress(piano_, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(piano_, QPoint(90, 90));
        QTest::mouseRelease(piano_, Qt::LeftButton, {}, QPoint(90, 90));
        QCOMPARE(Attuale(), attesa);
    }

    void hint_reaches_the_status_bar_with_the_separator() {
        SeparatoreScope virgola(',');
        QTest::mouseMove(piano_, QPoint(100, 75));
        QCOMPARE(piano_->Hint(), QString("X:   5,000 - Y:  -5,000"));
        QCOMPARE(finestra_->statusBar()->currentMessage(), piano_->Hint());
    }

    void extent_editor_follows_and_moves_the_plane() {
        auto* pannello = new TSizePianoCartesiano;
        pannello->SetPianoCartesiano(piano_);
        QCOMPARE(pannello->Edit(1)->text(), QString("10"));
        QTest::mouseClick(pannello->Edit(1)->findChild<QToolButton*>("Su"), Qt::LeftButton);
        QCOMPARE(piano_->DX(), 11.0L);
        QVERIFY(piano_->InRidisegno());
        pannello->Edit(3)->setText("0");
        pannello->Edit(3)->setText("-4");
        QCOMPARE(piano_->DY(), 20.0L);
        pannello->Edit(0)->setText("-2.5");
        QCOMPARE(piano_->MinX(), -2.5L);
        piano_->SetPCMode(TPCMode::pcmZoom);
        QTest::mousePress(piano_, Qt::LeftButton, {}, QPoint(0, 0));
        QTest::mouseMove(piano_, QPoint(100, 50));
        QTest::mouseRelease(piano_, Qt::LeftButton, {}, QPoint(100, 50));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(pannello->Edit(i)->Value(), piano_->Estensione(i));
        pannello->SetPianoCartesiano(nullptr);
        for (int i = 0; i < 4; ++i) QCOMPARE(pannello->Edit(i)->text(), QString("0"));
        pannello->Edit(0)->setText("7");
        QVERIFY(piano_->MinX() != 7);
        delete pannello;
    }
};

QTEST_MAIN(TestPianoCartesiano)
#include "test_piano_cartesiano.moc"
