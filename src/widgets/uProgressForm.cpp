#include "uProgressForm.h"

#include "uAnimationPlayer.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>

namespace {
const QColor Background(255, 241, 206);
}

TProgressForm::TProgressForm(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Dialog)
{
    setFixedSize(280, 88);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Background);
    setPalette(colours);
    setAutoFillBackground(true);
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);

    auto* bevel1 = new QFrame(this);
    bevel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel1->setGeometry(rect());
    auto* bevel2 = new QFrame(this);
    bevel2->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel2->setGeometry(12, 12, 256, 64);

    AnimateProgress = new TAnimationPlayer(this);
    AnimateProgress->move(25, 27);

    cxLabel1 = new QLabel(QStringLiteral("Siunčiama..."), this);
    // As wide as the bar: "Užbaigiama..." does not fit 63 pixels in every font.
    cxLabel1->setGeometry(62, 23, 200, 17);
    cxLabel1->setToolTip(QStringLiteral("Renkami duomenys..."));

    cxProgressBar1 = new QProgressBar(this);
    cxProgressBar1->setGeometry(62, 38, 200, 21);
    cxProgressBar1->setRange(0, 100);
    cxProgressBar1->setValue(0);
    cxProgressBar1->setTextVisible(false);
    cxProgressBar1->setStyleSheet(QStringLiteral(
        "QProgressBar { background: rgb(255, 247, 225); border: 1px solid rgb(200, 180, 140); }"
        "QProgressBar::chunk { background: qlineargradient(x1: 0, y1: 0, x2: 1, y2: 0, "
        "stop: 0 rgb(255, 235, 183), stop: 1 rgb(255, 204, 70)); }"));

    cxLabelStatus = new QLabel(this);
    cxLabelStatus->setGeometry(24, 57, 237, 17);
    QPalette status = cxLabelStatus->palette();
    // The classic inactive-caption grey.
    status.setColor(QPalette::WindowText, QColor(128, 128, 128));
    cxLabelStatus->setPalette(status);
}

void TProgressForm::CloseRequest()
{
    done(QDialog::Accepted);
}

void TProgressForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    AnimateProgress->Play();
}

void TProgressForm::hideEvent(QHideEvent* event)
{
    AnimateProgress->Stop();
    QDialog::hideEvent(event);
}

void TProgressForm::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // Shape1: a one-pixel outline inside the raised edge.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(1, 1, 277, 85);
}
