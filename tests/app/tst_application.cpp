// An error that a handler lets through is shown in the error box, and the
// program goes on.
#include "uError.h"
#include "uKelmiraApplication.h"
#include "uMessageDlg.h"

#include <QTest>
#include <QTimer>

class TestApplication : public QObject
{
    Q_OBJECT
private slots:
    void errorInHandlerIsShownAndProgramGoesOn()
    {
        MessageDlgScript::Reset(true);
        bool ranAfter = false;
        QTimer::singleShot(0, this,
                           [] { throw EAppError(QStringLiteral("Nepavyko: priežastis")); });
        QTimer::singleShot(0, this, [] { throw std::runtime_error("plain failure"); });
        QTimer::singleShot(0, this, [&ranAfter] { ranAfter = true; });
        QTRY_VERIFY(ranAfter);
        const QList<MessageDlgScript::TAsked> asked = MessageDlgScript::Asked();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked.at(0).Text, QStringLiteral("Nepavyko: priežastis"));
        QCOMPARE(asked.at(0).Type, TMsgDlgType::Error);
        QCOMPARE(asked.at(0).Buttons, TMsgDlgButtons(mbOK));
        QCOMPARE(asked.at(1).Text, QStringLiteral("plain failure"));
        MessageDlgScript::Reset(false);
    }

    void titleAndColour()
    {
        QCOMPARE(QApplication::applicationDisplayName(), QStringLiteral("KELMIRA"));
        QCOMPARE(QApplication::palette().color(QPalette::Window), QColor(255, 241, 206));
    }
};

int main(int argc, char** argv)
{
    TKelmiraApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_application.moc"
