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
};

QTEST_MAIN(TestSegmento)
#include "test_segmento.moc"
