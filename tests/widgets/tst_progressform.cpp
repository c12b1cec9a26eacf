#include "uAnimationPlayer.h"
#include "uProgressForm.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QSet>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QTimer>

class TestProgressForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Shown, the animation loops through all 15 frames; hidden, it stands.
    void animationRunsOnlyWhileShown()
    {
        TProgressForm form;
        QCOMPARE(form.size(), QSize(280, 88));
        QVERIFY(!form.AnimateProgress->Playing());
        form.show();
        QVERIFY(form.AnimateProgress->Playing());
        QSet<int> frames;
        QTRY_VERIFY_WITH_TIMEOUT((frames.insert(form.AnimateProgress->Frame()),
                                  frames.size() == TAnimationPlayer::FrameCount),
                                 10000);
        form.hide();
        QVERIFY(!form.AnimateProgress->Playing());
    }

    // The user cannot end the window; only the delivery's close request,
    // posted from its thread, does.
    void onlyTheCloseRequestEndsTheModalRun()
    {
        TProgressForm form;
        bool escapeIgnored = false;
        QThread* sender = QThread::create([&form] {
            QMetaObject::invokeMethod(&form, &TProgressForm::CloseRequest, Qt::QueuedConnection);
        });
        QTimer::singleShot(0, &form, [&] {
            QTest::keyClick(&form, Qt::Key_Escape);
            escapeIgnored = form.isVisible();
            sender->start();
        });
        QCOMPARE(form.exec(), int(QDialog::Accepted));
        QVERIFY(escapeIgnored);
        QVERIFY(!form.isVisible());
        sender->wait();
        delete sender;
    }
};

QTEST_MAIN(TestProgressForm)
#include "tst_progressform.moc"
