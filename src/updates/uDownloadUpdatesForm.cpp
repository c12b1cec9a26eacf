#include "uDownloadUpdatesForm.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

QString WithLineBreaks(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QPlainTextEdit* NewMemo(QWidget* parent, const QString& name)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The memos show on the window's own colour, as labels do.
    memo->viewport()->setAutoFillBackground(false);
    memo->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    return memo;
}

QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption,
                       const QString& hint)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TDownloadUpdatesForm::TDownloadUpdatesForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("DownloadUpdatesForm"));
    setWindowTitle(QStringLiteral("Programos pakeitimai"));
    setModal(false);
    setMinimumSize(350, 360);
    resize(360, 378);
    if (owner)
        setPalette(owner->palette());
    setAutoFillBackground(true);

    FStatusEdit = new QLineEdit(this);
    FStatusEdit->setObjectName(QStringLiteral("StatusEdit"));
    FStatusEdit->setReadOnly(true);
    FStatusEdit->setFrame(false);
    FStatusEdit->setFocusPolicy(Qt::NoFocus);
    FStatusEdit->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    QFont bold(QStringLiteral("Tahoma"));
    bold.setPixelSize(13);
    bold.setBold(true);
    FStatusEdit->setFont(bold);

    FLastCheckLabel = new QLabel(this);
    FLastCheckLabel->setObjectName(QStringLiteral("LastCheckLabel"));
    FLastCheckLabel->setWordWrap(true);
    FStatusMemo = NewMemo(this, QStringLiteral("StatusMemo"));

    // The heading stands on a horizontal rule.
    auto* heading = new QHBoxLayout;
    auto* ruleLeft = new QFrame(this);
    ruleLeft->setFrameShape(QFrame::HLine);
    ruleLeft->setFrameShadow(QFrame::Sunken);
    ruleLeft->setFixedWidth(8);
    auto* versijaLabel = new QLabel(QStringLiteral(" Versijos informacija "), this);
    versijaLabel->setObjectName(QStringLiteral("VersijaLabel"));
    auto* versijaBevel = new QFrame(this);
    versijaBevel->setObjectName(QStringLiteral("VersijaBevel"));
    versijaBevel->setFrameShape(QFrame::HLine);
    versijaBevel->setFrameShadow(QFrame::Sunken);
    heading->addWidget(ruleLeft);
    heading->addWidget(versijaLabel);
    heading->addWidget(versijaBevel, 1);
    heading->setSpacing(0);

    FVersijaMemo = NewMemo(this, QStringLiteral("VersijaMemo"));

    FCheckcxButton = NewButton(this, QStringLiteral("CheckcxButton"), QStringLiteral("&Atnaujinti"),
                               QStringLiteral("Patikrinti, atsisiųsti ir įdiegti programos "
                                              "atnaujinimus"));
    FcxButtonCancel = NewButton(this, QStringLiteral("cxButtonCancel"), QStringLiteral("Uždary&ti"),
                                QStringLiteral("Paslėpti šį pranešimą"));
    FRestartcxButton =
        NewButton(this, QStringLiteral("RestartcxButton"), QStringLiteral("&Perleisti"),
                  QStringLiteral("Paleisti programą iš naujo (jeigu yra, bus įdiegti pakeitimai)"));
    FRestartcxButton->hide();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(FCheckcxButton);
    buttons->addWidget(FcxButtonCancel);
    buttons->addStretch(1);
    buttons->addWidget(FRestartcxButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FStatusEdit);
    layout->addWidget(FLastCheckLabel);
    layout->addWidget(FStatusMemo, 3);
    layout->addLayout(heading);
    layout->addWidget(FVersijaMemo, 2);
    layout->addLayout(buttons);

    connect(FCheckcxButton, &QPushButton::clicked, this, &TDownloadUpdatesForm::CheckcxButtonClick);
    connect(FRestartcxButton, &QPushButton::clicked, this,
            &TDownloadUpdatesForm::RestartcxButtonClick);
    connect(FcxButtonCancel, &QPushButton::clicked, this, &QWidget::hide);
}

void TDownloadUpdatesForm::ShowStatus(const QString& title, const QString& description,
                                      const QString& lastCheck, bool restartVisible)
{
    FStatusEdit->setText(title);
    FStatusEdit->setCursorPosition(0);
    FStatusMemo->setPlainText(WithLineBreaks(description));
    FLastCheckLabel->setText(lastCheck);
    FRestartcxButton->setVisible(restartVisible);
}

void TDownloadUpdatesForm::SetVersionNotes(const QString& notes)
{
    FVersijaMemo->setPlainText(WithLineBreaks(notes));
}

void TDownloadUpdatesForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        if (parentWidget())
            move(parentWidget()->geometry().center() - rect().center());
        FVersijaMemo->setFocus();
    }
}
