#include "uWindowPlacement.h"

#include <QScreen>
#include <QWidget>
#include <QtTest>

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void centredPosition_data();
    void centredPosition();
    void movesWindowInsideItsScreen();
};

void TestWindowPlacement::centredPosition_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QPoint>("expected");
    const QRect area(0, 0, 1920, 1040);
    QTest::newRow("centred") << QSize(200, 100) << QRect(100, 100, 400, 300) << area
                             << QPoint(200, 200);
    QTest::newRow("near right edge")
        << QSize(300, 100) << QRect(1800, 100, 400, 300) << area << QPoint(1620, 200);
    QTest::newRow("near bottom edge")
        << QSize(100, 200) << QRect(100, 1000, 200, 100) << area << QPoint(150, 840);
    QTest::newRow("left of area") << QSize(200, 100) << QRect(-500, -300, 100, 100) << area
                                  << QPoint(0, 0);
    QTest::newRow("wider than area")
        << QSize(2000, 100) << QRect(0, 0, 400, 300) << area << QPoint(0, 100);
    QTest::newRow("rounded toward zero")
        << QSize(200, 200) << QRect(500, 500, 101, 101) << area << QPoint(451, 451);
    QTest::newRow("second screen") << QSize(200, 100) << QRect(3100, 500, 100, 100)
                                   << QRect(1920, 24, 1280, 1000) << QPoint(3000, 500);
}

void TestWindowPlacement::centredPosition()
{
    QFETCH(QSize, window);
    QFETCH(QRect, rect);
    QFETCH(QRect, area);
    QFETCH(QPoint, expected);
    QCOMPARE(CenteredPosition(window, rect, area), expected);
}

void TestWindowPlacement::movesWindowInsideItsScreen()
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    window.resize(300, 200);
    const QRect rect(area.right() - 100, area.top() + 10, 100, 100);
    CenterFormOverRect(&window, rect);
    QCOMPARE(window.pos(), QPoint(area.left() + area.width() - 300, area.top()));
    QCOMPARE(window.size(), QSize(300, 200));
}

QTEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
