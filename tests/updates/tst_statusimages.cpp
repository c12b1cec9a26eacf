// The five status images: their size at both pixel ratios, a white page
// under every badge, and five badges that tell the states apart.
#include "uStatusImages.h"

#include <QImage>
#include <QTest>

class TestStatusImages : public QObject
{
    Q_OBJECT

private slots:
    void images_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("200 %") << 2.0;
    }

    void images()
    {
        QFETCH(qreal, ratio);
        const int side = qRound(StatusImageSize * ratio);
        QList<QImage> images;
        for (int index = 0; index < StatusImageCount; ++index) {
            const QPixmap pixmap = StatusImage(index, ratio);
            QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(16, 16));
            QCOMPARE(pixmap.size(), QSize(side, side));
            const QImage image = pixmap.toImage();
            // The page shows white above the badge; the corners left of the
            // page stay transparent (no olive box behind the icon).
            QCOMPARE(image.pixelColor(qRound(4 * ratio), qRound(10 * ratio)), QColor(Qt::white));
            QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
            QCOMPARE(image.pixelColor(0, side - 1).alpha(), 0);
            for (const QImage& other : images)
                QVERIFY2(other != image, qPrintable(QString::number(index)));
            images.append(image);
        }
    }
};

QTEST_MAIN(TestStatusImages)
#include "tst_statusimages.moc"
