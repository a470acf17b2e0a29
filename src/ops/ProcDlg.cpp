#include "ops/ProcDlg.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {
QPushButton *Button(QWidget *parent, const char *name, const QString &caption, int x)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, 48, 75, 25);
    // Space and Enter on a focused button only; Enter must not start a chip operation from
    // wherever the focus happens to be.
    button->setAutoDefault(false);
    return button;
}
} // namespace

TProcessForm::TProcessForm(RequestFlags &flags, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_flags(flags)
{
    setObjectName(QStringLiteral("ProcessForm"));
    setModal(false);
    setFixedSize(258, 79);

    StatusLbl = new QLabel(this);
    StatusLbl->setObjectName(QStringLiteral("StatusLbl"));
    StatusLbl->setGeometry(8, 6, 242, 16);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(8, 24, 241, 16);
    ProgressBar->setRange(0, 100);
    ProgressBar->setTextVisible(false);
    StartBtn = Button(this, "StartBtn", QStringLiteral("Start"), 8);
    StopBtn = Button(this, "StopBtn", QStringLiteral("Stop"), 96);
    CloseBtn = Button(this, "CloseBtn", QStringLiteral("Close"), 176);

    connect(StartBtn, &QPushButton::clicked, this, &TProcessForm::StartBtnClick);
    connect(StopBtn, &QPushButton::clicked, this, &TProcessForm::StopBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &TProcessForm::CloseBtnClick);
}

void TProcessForm::StartBtnClick()
{
    m_flags.StartRequested = true;
    m_flags.PauseRequested = false;
    StartBtn->setEnabled(false);
    StopBtn->setEnabled(true);
    emit RequestChanged();
}

void TProcessForm::StopBtnClick()
{
    m_flags.PauseRequested = true;
    m_flags.StartRequested = false;
    StopBtn->setEnabled(false);
    StartBtn->setEnabled(true);
    emit RequestChanged();
}

void TProcessForm::CloseBtnClick()
{
    m_flags.CloseRequested = true;
    emit RequestChanged();
}

void TProcessForm::BeReady()
{
    StatusLbl->setText(kReadyText);
    m_flags.PauseRequested = false;
    m_flags.StartRequested = false;
    StopBtn->setEnabled(false);
    StartBtn->setEnabled(true);
    m_flags.CloseRequested = false;
    ProgressBar->setValue(0);
    StartBtn->setText(QStringLiteral("Start"));
}

void TProcessForm::SetStatus(const QString &text)
{
    StatusLbl->setText(text);
    StatusLbl->repaint();
}

void TProcessForm::PlaceBelow(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    move(frame.left(), frame.top() + frame.height());
}

void TProcessForm::closeEvent(QCloseEvent *event)
{
    event->ignore();
    CloseBtnClick();
}

void TProcessForm::reject()
{
    CloseBtnClick();
}
