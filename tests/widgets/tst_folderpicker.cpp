// The folder question: its title, folders only, and the answer it gives on
// confirm and on cancel.
#include "uFolderPicker.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestFolderPicker : public QObject
{
    Q_OBJECT

private slots:
    void execute_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void execute()
    {
        QFETCH(bool, confirm);
        QTemporaryDir dir;
        QWidget owner;
        TFolderPicker picker(&owner);
        picker.Caption = QStringLiteral("Siųsti bylas į aplanką");
        QString title;
        bool foldersOnly = false;
        QWidget* parent = nullptr;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            title = dialog->windowTitle();
            foldersOnly = dialog->fileMode() == QFileDialog::Directory &&
                          dialog->testOption(QFileDialog::ShowDirsOnly);
            parent = dialog->parentWidget();
            if (confirm) {
                dialog->selectFile(dir.path());
                static_cast<QDialog*>(dialog)->accept();
            } else {
                dialog->reject();
            }
        });
        QCOMPARE(picker.Execute(), confirm);
        QCOMPARE(title, picker.Caption);
        QVERIFY(foldersOnly);
        QCOMPARE(parent, &owner);
        QCOMPARE(picker.Selection, confirm ? dir.path() : QString());
    }
};

QTEST_MAIN(TestFolderPicker)
#include "tst_folderpicker.moc"
