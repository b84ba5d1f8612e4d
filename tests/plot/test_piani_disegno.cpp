// What the four drawing planes put on the canvas: curves with gaps, point clouds, the phase
// curve, the cobweb and the iterate of the logistic map, read at the planes' own pixels.
#include <cmath>
#include <thread>

#include "core/base/Exception.h"
#include "core/discrete/Bifurcation.h"
#include "core/system/SistemaS05.h"
#include "plot/PianoFasi.h"
#include "plot/PianoIterata.h"
#include "plot/PianoIterazione.h"
#include "plot/PianoTraiettorie.h"
#include "tests/plot/AiutiPiano.h"

using namespace prova;

namespace {

// Columns of curve pixels strictly between the columns of x = a and x = b.
int GialliTra(const TPianoCartesiano& piano, const QImage& tela, Extended a, Extended b) {
    int n = 0;
    for (int x = piano.XToPixel(a) + 1; x < piano.XToPixel(b); ++x)
        n += ContaColonna(tela, x, Giallo);
    return n;
}

std::unique_ptr<TBifurcation> Logistica() {
    auto motore = std::make_unique<TBifurcation>();
    motore->Dinamica().SetText("x0*x1*(1-x1)");
    motore->Derivata().SetText("x0*(1-2*x1)");
    return motore;
}

// The unit square of the map's plots.
template <class Piano>
void Quadrato(Piano& piano) {
    Mostra(piano, 200, 200);
    piano.SetDX(1);
    piano.SetMinY(0);
    piano.SetDY(1);
}

}  // namespace

class TestPianiDisegno : public QObject {
    Q_OBJECT

private slots:
    void curve_leaves_a_gap_where_the_function_fails_data() {
        QTest::addColumn<int>("caso");
        QTest::newRow("raises") << 0;
        QTest::newRow("not a number") << 1;
        QTest::newRow("infinite") << 2;
    }

    void curve_leaves_a_gap_where_the_function_fails() {
        QFETCH(int, caso);
        TPianoTraiettorie piano;
        Mostra(piano, 200, 100);
        // Two pieces at different heights: a joining line would cross the gap's columns.
        piano.AddFunzione(Funzione([caso](Extended x) -> Extended {
            if (x <= 4 || x >= 6) return x < 5 ? 2 : -2;
            if (caso == 0) throw Exception("Out of range!");
            return caso == 1 ? NAN : INFINITY;
        }));
        const QImage tela = Tela(piano);
        QCOMPARE(GialliTra(piano, tela, 4, 6), 0);
        QVERIFY(Pixel(tela, piano.XToPixel(2), piano.YToPixel(2)) == Giallo);
        QVERIFY(Pixel(tela, piano.XToPixel(8), piano.YToPixel(-2)) == Giallo);
    }

    void path_component_is_drawn_only_over_its_grid() {
        TSistemaS05 sistema;
        sistema.SetDimensione(1, 1);
        sistema.SetIntervallo(2, 4, 0.1L);  // a zero path; "Out of range!" outside [2, 4]
        TPianoTraiettorie piano;
        Mostra(piano, 200, 100);
        piano.AddFunzione(sistema.Componente(1));
        piano.SetMinY(-9);  // the curve's row is not the axis
        const QImage tela = Tela(piano);
        const int riga = piano.YToPixel(0);
        for (int x = 0; x < 200; ++x) {
            const bool dentro = x >= piano.XToPixel(2) && x <= piano.XToPixel(4);
            QCOMPARE(Pixel(tela, x, riga) == Giallo, dentro);
        }
    }

    void cloud_draws_its_points_in_white_data() {
        QTest::addColumn<int>("conta");
        QTest::addColumn<Extended>("primo");
        QTest::addColumn<bool>("solleva");
        QTest::addColumn<int>("attesi");
        QTest::newRow("129 values") << 129 << Extended(1.25) << false << 129;
        QTest::newRow("no values") << 0 << Extended(0.5) << false << 0;
        QTest::newRow("first not a number") << 129 << Extended(NAN) << false << 0;
        QTest::newRow("first infinite") << 129 << Extended(-INFINITY) << false << 0;
        QTest::newRow("raises") << 129 << Extended(0.5) << true << 0;
    }

    void cloud_draws_its_points_in_white() {
        QFETCH(int, conta);
        QFETCH(Extended, primo);
        QFETCH(bool, solleva);
        QFETCH(int, attesi);
        TPianoTraiettorie piano;
        Mostra(piano, 100, 300);
        piano.SetMinY(0);
        piano.SetDY(300);
        piano.AddMultiFunzione(std::make_unique<MultiLambda>([=](int& n, Extended* b, Extended) {
            if (solleva) throw Exception("No period!");
            QCOMPARE(n, 129);
            n = conta;
            for (int i = 0; i < n; ++i) b[i] = i + 1.25L;  // one row each
            if (n > 0) b[0] = primo;
        }));
        const QImage tela = Tela(piano);
        QCOMPARE(ContaColonna(tela, 50, Bianco), attesi);
    }

    void phase_curve_goes_from_yellow_to_red() {
        TPianoFasi piano;
        Mostra(piano, 200, 200);
        piano.SetFunzioneX(Funzione([](Extended t) { return t; }));
        piano.SetFunzioneY(Funzione([](Extended t) { return t; }));
        piano.SetTempi(0, 10, 0.01L);
        const QImage tela = Tela(piano);
        const QColor inizio = tela.pixelColor(piano.XToPixel(0.5), piano.YToPixel(0.5));
        const QColor fine = tela.pixelColor(piano.XToPixel(9.5), piano.YToPixel(9.5));
        QVERIFY2(inizio.red() == 255 && inizio.green() > 230 && inizio.blue() == 0,
                 qPrintable(inizio.name()));
        QVERIFY2(fine.red() == 255 && fine.green() < 25 && fine.blue() == 0,
                 qPrintable(fine.name()));
    }

    void phase_curve_without_steps_draws_nothing_data() {
        QTest::addColumn<Extended>("fine");
        QTest::addColumn<Extended>("passo");
        QTest::newRow("end at the start") << Extended(0) << Extended(0.1);
        QTest::newRow("step beyond the end") << Extended(1) << Extended(2);
    }

    void phase_curve_without_steps_draws_nothing() {
        QFETCH(Extended, fine);
        QFETCH(Extended, passo);
        TPianoFasi piano;
        Mostra(piano, 100, 100);
        piano.SetFunzioneX(Funzione([](Extended t) { return t; }));
        piano.SetFunzioneY(Funzione([](Extended t) { return -t; }));
        piano.SetTempi(0, fine, passo);
        const QImage tela = Tela(piano);
        QCOMPARE(ContaColore(tela, Giallo) + ContaColore(tela, Rosso), 0);
    }

    void phase_curve_with_a_zero_step_runs_until_cancelled() {
        TPianoFasi piano;
        Mostra(piano, 100, 100);
        piano.SetFunzioneX(Funzione([](Extended t) { return t; }));
        piano.SetFunzioneY(Funzione([](Extended t) { return t; }));
        piano.SetTempi(0, 1, 0);
        QTest::qWait(200);
        QVERIFY(piano.InRidisegno());
        QElapsedTimer orologio;
        orologio.start();
        piano.StopRepaint();
        QVERIFY(orologio.elapsed() < 1000);
        QTRY_VERIFY(!piano.InRidisegno());
    }

    void cobweb_of_the_logistic_map() {
        auto motore = Logistica();
        TPianoIterazione piano;
        Quadrato(piano);
        piano.SetFunzione(motore->CreaIterazione(2.5L));
        QImage tela = Tela(piano);
        // Graph, diagonal, and the spiral into the fixed point 1 - 1/2.5 = 0.6.
        QVERIFY(Vicino(tela, piano.XToPixel(0.5), piano.YToPixel(0.625), Giallo));
        QVERIFY(Vicino(tela, piano.XToPixel(0.9), piano.YToPixel(0.9), Rosso));
        QVERIFY(Vicino(tela, piano.XToPixel(0.6), piano.YToPixel(0.6), Blu));
        const int avviati = piano.RidisegniAvviati();
        piano.SetSeed(0.321L);
        piano.SetIterazioni(100);
        QVERIFY(!piano.InRidisegno());
        QCOMPARE(piano.RidisegniAvviati(), avviati);
        // One step: up from (0.321, 0) to the graph, then across to the diagonal.
        piano.SetIterazioni(0);
        tela = Tela(piano);
        const Extended y = 2.5L * 0.321L * (1 - 0.321L);
        QVERIFY(Vicino(tela, piano.XToPixel(0.321L), piano.YToPixel(y / 2), Blu));
        QVERIFY(Vicino(tela, piano.XToPixel((0.321L + y) / 2), piano.YToPixel(y), Blu));
        QVERIFY(!Vicino(tela, piano.XToPixel(0.6), piano.YToPixel(0.6), Blu));
        piano.SetIterazioni(-1);
        QCOMPARE(ContaColore(Tela(piano), Blu), 0);
    }

    void iterate_plane_shows_the_two_cycle_and_nothing_in_chaos() {
        auto motore = Logistica();
        TPianoIterata piano;
        Quadrato(piano);
        piano.SetMultiFunzione(motore->CreaBiforcazione());
        const Extended l = 3.2L;
        piano.SetFunzione(motore->CreaIterazione(l));
        piano.SetLambda(l);
        QImage tela = Tela(piano);
        const auto f = [l](Extended x) { return l * x * (1 - x); };
        for (Extended x : {0.1L, 0.3L, 0.45L, 0.9L})
            QVERIFY(Vicino(tela, piano.XToPixel(x), piano.YToPixel(f(f(x))), Bianco));
        const Extended radice = std::sqrt((l - 3) * (l + 1));
        const Extended p = (l + 1 - radice) / (2 * l), q = (l + 1 + radice) / (2 * l);
        for (auto [x, y] : {std::pair{p, p}, {p, q}, {q, q}, {q, p}})
            QVERIFY(Vicino(tela, piano.XToPixel(x), piano.YToPixel(y), Blu));

        piano.SetFunzione(motore->CreaIterazione(3.9L));
        piano.SetLambda(3.9L);
        tela = Tela(piano);
        QCOMPARE(ContaColore(tela, Bianco) + ContaColore(tela, Blu), 0);
        QVERIFY(ContaColore(tela, Giallo) > 100);
    }
};

QTEST_MAIN(TestPianiDisegno)
#include "test_piani_disegno.moc"
