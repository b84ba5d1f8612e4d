// Segments drawn straight onto the canvas: the pixels of a line, clipped to the image however
// far its ends lie.
#include <QtTest>

#include "plot/Segmento.h"

Q_DECLARE_METATYPE(QList<QPoint>)

class TestSegmento : public QObject {
    Q_OBJECT

private slots:
    void sets_the_pixels_of_the_line_inside_the_image_data() {
        QTest::addColumn<QPoint>("a");
        QTest::addColumn<QPoint>("b");
        QTest::addColumn<int>("pixel");  // how many pixels of the 10 x 10 image it sets
        QTest::addColumn<QList<QPoint>>("accesi");
        QTest::newRow("diagonal") << QPoint(0, 0) << QPoint(9, 9) << 10
                                  << QList<QPoint>{{0, 0}, {5, 5}, {9, 9}};
        QTest::newRow("one point") << QPoint(3, 4) << QPoint(3, 4) << 1 << QList<QPoint>{{3, 4}};
        QTest::newRow("row with far ends") << QPoint(-(1 << 20), 5) << QPoint(1 << 20, 5) << 10
                                           << QList<QPoint>{{0, 5}, {9, 5}};
        QTest::newRow("steep to far below") << QPoint(4, 2) << QPoint(5, 1 << 20) << 8
                                            << QList<QPoint>{{4, 2}, {4, 9}};
        QTest::newRow("wholly outside") << QPoint(-5, -5) << QPoint(20, -1) << 0
                                        << QList<QPoint>{};
        QTest::newRow("across a corner") << QPoint(-5, 10) << QPoint(10, -5) << 6
                                         << QList<QPoint>{{0, 5}, {3, 2}, {5, 0}};
    }

    void sets_the_pixels_of_the_line_inside_the_image() {
        QFETCH(QPoint, a);
        QFETCH(QPoint, b);
        QFETCH(int, pixel);
        QFETCH(QList<QPoint>, accesi);
        QImage immagine(10, 10, QImage::Format_ARGB32_Premultiplied);
        immagine.fill(Qt::black);
        TracciaSegmento(immagine, a, b, qRgb(255, 255, 0));
        int contati = 0;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) contati += immagine.pixel(x, y) == qRgb(255, 255, 0);
        QCOMPARE(contati, pixel);
        for (QPoint p : accesi) QCOMPARE(immagine.pixel(p), qRgb(255, 255, 0));
    }

    // Lines whose crossing with an edge is a pixel (rows, columns, diagonals), ending on the
    // edge, one pixel beyond it or far beyond: the 10 x 10 image gets exactly the pixels the
    // whole line sets on a larger image, cropped; nothing is written outside.
    void clipping_at_an_edge_keeps_the_pixels_of_the_whole_line_data() {
        QTest::addColumn<QPoint>("a");
        QTest::addColumn<QPoint>("b");
        const QPoint dentro(4, 6);
        const QPoint direzioni[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1},
                                    {1, 1}, {-1, -1}, {1, -1}, {-1, 1}};
        for (QPoint d : direzioni)
            for (int oltre : {0, 1, 2, 30}) {
                // Steps from dentro to the edge along d, then oltre more.
                const int passi = std::min(d.x() > 0 ? 9 - 4 : d.x() < 0 ? 4 : 99,
                                           d.y() > 0 ? 9 - 6 : d.y() < 0 ? 6 : 99);
                const QPoint b = dentro + d * (passi + oltre);
                QTest::addRow("(%d,%d) +%d", d.x(), d.y(), oltre) << dentro << b;
                QTest::addRow("(%d,%d) +%d back", d.x(), d.y(), oltre) << b << dentro;
            }
    }

    void clipping_at_an_edge_keeps_the_pixels_of_the_whole_line() {
        QFETCH(QPoint, a);
        QFETCH(QPoint, b);
        constexpr int margine = 40;
        QImage piccola(10, 10, QImage::Format_ARGB32_Premultiplied);
        QImage grande(10 + 2 * margine, 10 + 2 * margine, QImage::Format_ARGB32_Premultiplied);
        piccola.fill(Qt::black);
        grande.fill(Qt::black);
        TracciaSegmento(piccola, a, b, qRgb(255, 255, 0));
        const QPoint spostamento(margine, margine);
        TracciaSegmento(grande, a + spostamento, b + spostamento, qRgb(255, 255, 0));
        QCOMPARE(piccola, grande.copy(margine, margine, 10, 10));
    }
};

QTEST_MAIN(TestSegmento)
#include "test_segmento.moc"
