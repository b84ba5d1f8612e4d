// What makes a plane readable: the scales, the zoom frame over any background, the fit to the
// data, the data table, and short extent texts.
#include <cmath>

#include <QMainWindow>

#include "core/base/Conversioni.h"
#include "plot/PianoFasi.h"
#include "plot/PianoTraiettorie.h"
#include "plot/Scale.h"
#include "plot/SizePianoCartesiano.h"
#include "plot/VtrSpin.h"
#include "tests/SeparatoreScope.h"
#include "tests/plot/AiutiPiano.h"

using namespace prova;
using Estensione = std::array<Extended, 4>;
const std::atomic<bool> continua{false};

class TestScale : public QObject {
    Q_OBJECT

    TPianoTraiettorie* piano_ = nullptr;

    // Every label inside the plane, apart from every other, reading back to its mark's value,
    // marks at the plane's pixel for that value, 1-2-5 steps apart.
    static void VerificaScala(const std::vector<TTacca>& tacche, bool orizzontale,
                              const TPianoCartesiano& piano) {
        int etichette = 0;
        for (std::size_t i = 0; i < tacche.size(); ++i) {
            const TTacca& t = tacche[i];
            QCOMPARE(t.pixel, orizzontale ? piano.XToPixel(t.valore) : piano.YToPixel(t.valore));
            if (i > 0) {
                const Extended passo = t.valore - tacche[i - 1].valore;
                const Extended mantissa = passo / std::pow(10.0L, std::floor(std::log10(passo)));
                QVERIFY2(std::fabs(mantissa - 1) < 1e-6 || std::fabs(mantissa - 2) < 1e-6 ||
                             std::fabs(mantissa - 5) < 1e-6,
                         qPrintable(QString::number(double(passo))));
            }
            if (t.testo.isEmpty()) continue;
            ++etichette;
            QCOMPARE(StrToFloat(t.testo.toStdString()), t.valore);
            QVERIFY(piano.rect().contains(t.etichetta));
            for (std::size_t j = 0; j < i; ++j)
                QVERIFY(!tacche[j].etichetta.intersects(t.etichetta));
        }
        QVERIFY2(etichette >= 2, "fewer than two labels");
    }

private slots:
    void init() {
        piano_ = new TPianoTraiettorie;
        Mostra(*piano_, 400, 300);
        Tela(*piano_);
    }

    void cleanup() { delete piano_; }

    void scales_are_readable_and_true_at_several_extents_data() {
        QTest::addColumn<Estensione>("estensione");
        QTest::addColumn<char>("separatore");
        QTest::newRow("default") << Estensione{0, 10, -10, 20} << '.';
        QTest::newRow("axes out of view") << Estensione{3, 0.25L, 100, 7} << ',';
        QTest::newRow("narrow far from zero") << Estensione{1e6, 1e-3L, -1e-7L, 3e-7L} << '.';
        QTest::newRow("wide") << Estensione{-3e12L, 7e12L, -1, 2} << ',';
    }

    void scales_are_readable_and_true_at_several_extents() {
        QFETCH(Estensione, estensione);
        QFETCH(char, separatore);
        SeparatoreScope scope(separatore);
        for (int i = 0; i < 4; ++i) piano_->SetEstensione(i, estensione[i]);
        const TScale scale = CalcolaScale(*piano_);
        VerificaScala(scale.x, true, *piano_);
        VerificaScala(scale.y, false, *piano_);
        for (const TTacca& tx : scale.x)
            for (const TTacca& ty : scale.y) QVERIFY(!tx.etichetta.intersects(ty.etichetta));
        // The saved picture carries the marks in their own colour; the canvas does not.
        const QImage tela = Tela(*piano_);
        const QImage immagine = piano_->Immagine();
        const TTacca& t = scale.x[scale.x.size() / 2];
        QVERIFY(Vicino(immagine, t.pixel, scale.rigaX, ColoreScale & 0xFFFFFF));
        QVERIFY(!Vicino(tela, t.pixel, scale.rigaX, ColoreScale & 0xFFFFFF));
        // The window shows the marks of this extent too, not those its last paint cached.
        QVERIFY(Vicino(piano_->grab().toImage(), t.pixel, scale.rigaX, ColoreScale & 0xFFFFFF));
        piano_->SetScala(false);
        QCOMPARE(piano_->Immagine(), tela);
    }

    void scales_follow_the_axes_or_the_edges() {
        TScale scale = CalcolaScale(*piano_);
        QCOMPARE(scale.rigaX, piano_->YToPixel(0));
        QCOMPARE(scale.colonnaY, piano_->XToPixel(0));
        piano_->SetMinX(1);
        piano_->SetMinY(1);
        scale = CalcolaScale(*piano_);
        QCOMPARE(scale.rigaX, piano_->height() - 1);
        QCOMPARE(scale.colonnaY, 0);
    }

    void zoom_frame_shows_on_the_grey_canvas() {
        const QImage tela = Tela(*piano_);
        QCOMPARE(Pixel(tela, 100, 40), piano_->Colore().rgb() & 0xFFFFFF);
        piano_->SetPCMode(TPCMode::pcmZoom);
        QTest::mousePress(piano_, Qt::LeftButton, {}, QPoint(100, 40));
        QTest::mouseMove(piano_, QPoint(300, 120));
        const QImage schermo = piano_->grab().toImage();
        int nero = 0, bianco = 0;
        for (int x = 100; x <= 300; ++x) {
            nero += Pixel(schermo, x, 40) == Nero;
            bianco += Pixel(schermo, x, 40) == Bianco;
        }
        QVERIFY2(nero > 30 && bianco > 30, qPrintable(QString("%1 %2").arg(nero).arg(bianco)));
        const Extended minX = piano_->PixelToX(100), maxY = piano_->PixelToY(40);
        QTest::mouseRelease(piano_, Qt::LeftButton, {}, QPoint(300, 120));
        QCOMPARE(piano_->MinX(), minX);
        QCOMPARE(piano_->MinY() + piano_->DY(), maxY);
    }

    void fit_frames_curves_on_their_drawn_range() {
        // A curve defined only on [2, 4] over the view 0 ... 10.
        piano_->AddFunzione(Funzione([](Extended x) -> Extended {
            if (x < 2 || x > 4) throw std::runtime_error("out");
            return 100 + x * x;
        }));
        QTest::keyClick(piano_, Qt::Key_F);
        QTRY_VERIFY(piano_->DX() != 10);
        // [2, 4] x [104, 116] with 5 % on each side, to within a column of the first view.
        QVERIFY(std::fabs(piano_->MinX() - 1.9L) < 0.05L);
        QVERIFY(std::fabs(piano_->DX() - 2.2L) < 0.06L);
        QVERIFY(std::fabs(piano_->MinY() - 103.4L) < 0.3L);
        QVERIFY(std::fabs(piano_->DY() - 13.2L) < 0.3L);
        const QImage tela = Tela(*piano_);
        QVERIFY(Vicino(tela, piano_->XToPixel(3), piano_->YToPixel(109), Giallo));
    }

    void fit_of_a_phase_curve_takes_both_components() {
        TPianoFasi fasi;
        Mostra(fasi, 300, 300);
        fasi.SetFunzioneX(Funzione([](Extended t) { return 50 + std::cos(t); }));
        fasi.SetFunzioneY(Funzione([](Extended t) { return 3 * std::sin(t); }));
        fasi.SetTempi(0, 6.3L, 0.01L);
        fasi.Adatta();
        QTRY_VERIFY(fasi.DX() != 20);
        QVERIFY(std::fabs(fasi.MinX() - (49 - 0.1L)) < 1e-3 && std::fabs(fasi.DX() - 2.2L) < 1e-3);
        QVERIFY(std::fabs(fasi.MinY() - (-3.3L)) < 1e-3 && std::fabs(fasi.DY() - 6.6L) < 1e-3);
        const std::optional<TDatiPiano> dati = fasi.Dati(continua);
        QCOMPARE(dati->intestazione, (std::vector<std::string>{"x", "y", "y"}));
        QCOMPARE(dati->righe[1][0], 0.01L);
        QVERIFY(dati->righe.back()[0] < 6.3L && dati->righe.back()[0] > 6.28L);
    }

    void a_change_of_view_stops_a_data_request_and_says_so() {
        piano_->AddFunzione(Funzione([](Extended x) { return x; }));
        int risposte = 0;
        bool vuota = false;
        piano_->RichiediDati([&](std::optional<TDatiPiano> d) {
            ++risposte;
            vuota = !d;
        });
        piano_->SetMinX(1);  // the columns' abscissas change under the table
        QTRY_COMPARE(risposte, 1);
        QVERIFY(vuota);
        QTest::qWait(50);
        QCOMPARE(risposte, 1);
    }

    void extent_fields_show_short_texts_that_are_the_extent() {
        SeparatoreScope virgola(',');
        TSizePianoCartesiano pannello;
        pannello.SetPianoCartesiano(piano_);
        piano_->SetPCMode(TPCMode::pcmZoom);
        QTest::mousePress(piano_, Qt::LeftButton, {}, QPoint(33, 17));
        QTest::mouseMove(piano_, QPoint(291, 201));
        QTest::mouseRelease(piano_, Qt::LeftButton, {}, QPoint(291, 201));
        for (int i = 0; i < 4; ++i) {
            const QString testo = pannello.Edit(i)->text();
            QVERIFY2(testo.size() <= 13, qPrintable(testo));
            QCOMPARE(StrToFloat(testo.toStdString()), piano_->Estensione(i));
            QCOMPARE(pannello.Edit(i)->cursorPosition(), 0);
        }
        QVERIFY(std::fabs(piano_->MinX() - 33 * 10.0L / 400) < 1e-8);
    }
};

QTEST_MAIN(TestScale)
#include "test_scale.moc"
