#include "uMessageDlg.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestMessageDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void scriptRecordsAndAnswers();
    void shownBox_data();
    void shownBox();
};

void TestMessageDlg::initTestCase()
{
    QApplication::setApplicationDisplayName("KELMIRA");
}

void TestMessageDlg::cleanup()
{
    MessageDlgScript::Reset(false);
}

void TestMessageDlg::scriptRecordsAndAnswers()
{
    MessageDlgScript::Reset();
    QVERIFY(MessageDlgScript::Active());
    MessageDlgScript::PushAnswer(mrYes);
    MessageDlgScript::PushAnswer(mrNo);
    QCOMPARE(MessageDlg("Ar tikrai?", TMsgDlgType::Confirmation, mbYes | mbNo), mrYes);
    QCOMPARE(MessageDlg("Klaida", TMsgDlgType::Error, mbOK), mrNo);
    QCOMPARE(MessageDlg("Dar?", TMsgDlgType::Warning, mbYes | mbNo), mrNone);
    const QList<MessageDlgScript::TAsked> asked = MessageDlgScript::Asked();
    QCOMPARE(asked.size(), 3);
    QCOMPARE(asked.at(0).Text, "Ar tikrai?");
    QCOMPARE(asked.at(0).Type, TMsgDlgType::Confirmation);
    QCOMPARE(asked.at(0).Buttons, TMsgDlgButtons(mbYes | mbNo));
    QCOMPARE(asked.at(1).Type, TMsgDlgType::Error);
    QCOMPARE(asked.at(1).Buttons, TMsgDlgButtons(mbOK));
    QCOMPARE(asked.at(2).Text, "Dar?");

    MessageDlgScript::Reset();
    QVERIFY(MessageDlgScript::Asked().isEmpty());
    QCOMPARE(MessageDlg("x", TMsgDlgType::Information, mbOK), mrNone);
    MessageDlgScript::Reset(false);
    QVERIFY(!MessageDlgScript::Active());
}

void TestMessageDlg::shownBox_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<unsigned>("buttons");
    QTest::addColumn<int>("click");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("expected");
    QTest::newRow("confirmation yes")
        << int(TMsgDlgType::Confirmation) << unsigned(mbYes | mbNo) << int(QMessageBox::Yes)
        << int(QMessageBox::Question) << int(mrYes);
    QTest::newRow("warning no") << int(TMsgDlgType::Warning) << unsigned(mbYes | mbNo)
                                << int(QMessageBox::No) << int(QMessageBox::Warning) << int(mrNo);
    QTest::newRow("error ok") << int(TMsgDlgType::Error) << unsigned(mbOK) << int(QMessageBox::Ok)
                              << int(QMessageBox::Critical) << int(mrOk);
    QTest::newRow("no buttons given") << int(TMsgDlgType::Information) << 0u << int(QMessageBox::Ok)
                                      << int(QMessageBox::Information) << int(mrOk);
}

void TestMessageDlg::shownBox()
{
    QFETCH(int, type);
    QFETCH(unsigned, buttons);
    QFETCH(int, click);
    QFETCH(int, icon);
    QFETCH(int, expected);
    QString title, text;
    int shownIcon = -1;
    int shownButtons = 0;
    QTimer answer;
    answer.setSingleShot(true);
    connect(&answer, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        shownIcon = box->icon();
        shownButtons = box->standardButtons();
        box->button(QMessageBox::StandardButton(click))->click();
    });
    answer.start(0);
    const int result = MessageDlg("Siųsti?", TMsgDlgType(type), buttons);
    QCOMPARE(result, expected);
    QCOMPARE(title, "KELMIRA");
    QCOMPARE(text, "Siųsti?");
    QCOMPARE(shownIcon, icon);
    const int wanted = ((buttons & mbYes) ? QMessageBox::Yes : 0) |
                       ((buttons & mbNo) ? QMessageBox::No : 0) |
                       ((buttons & mbOK) || buttons == 0 ? QMessageBox::Ok : 0);
    QCOMPARE(shownButtons, wanted);
}

QTEST_MAIN(TestMessageDlg)
#include "tst_messagedlg.moc"
