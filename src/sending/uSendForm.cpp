#include "uSendForm.h"

#include "uMessageDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

template <typename T> T* Place(T* widget, int left, int top, int width, int height)
{
    widget->setGeometry(left, top, width, height);
    return widget;
}

} // namespace

TSendForm::TSendForm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Siųsti laišką"));
    setFixedSize(523, 339);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 241, 206));
    setPalette(colours);
    setAutoFillBackground(true);

    Place(new QLabel(QStringLiteral("Gavėjas"), this), 8, 6, 250, 16);
    cxTextEditR = Place(new QLineEdit(this), 8, 22, 250, 22);
    Place(new QLabel(QStringLiteral("Tema"), this), 8, 48, 250, 16);
    cxTextEditS = Place(new QLineEdit(this), 8, 64, 250, 22);
    cxCheckBox = Place(new QCheckBox(QStringLiteral("Išsiųsti kopiją sau"), this), 8, 94, 250, 20);
    Place(new QLabel(QStringLiteral("Prikabintos bylos"), this), 270, 6, 245, 16);
    ListViewFiles = Place(new QListWidget(this), 270, 22, 245, 92);
    ListViewFiles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListViewFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Place(new QLabel(QStringLiteral("Tekstas"), this), 8, 120, 507, 16);
    cxMemo = Place(new QPlainTextEdit(this), 8, 136, 507, 160);
    cxButtonSend = Place(new QPushButton(QStringLiteral("Siųsti"), this), 8, 306, 90, 25);
    cxButtonCancel = Place(new QPushButton(QStringLiteral("Atšaukti"), this), 104, 306, 90, 25);
    cxButtonSave =
        Place(new QPushButton(QStringLiteral("Siųsti į aplanką..."), this), 385, 306, 130, 25);

    cxButtonSend->setDefault(true);
    cxButtonSend->setAutoDefault(true);
    connect(cxButtonCancel, &QPushButton::clicked, this, [this] { done(mrNo); });
    const QList<QWidget*> tabOrder{cxMemo,     cxButtonSend,  cxButtonCancel, cxTextEditR,
                                   cxCheckBox, ListViewFiles, cxTextEditS,    cxButtonSave};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    cxMemo->setFocus();
}

void TSendForm::reject()
{
    done(mrNo);
}
