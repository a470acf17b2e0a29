#include "WaitForm.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TWaitingForm::TWaitingForm(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("WaitingForm"));
    setFixedSize(153, 50);

    // A raised outer bevel with a sunken inner one around the text.
    auto *outer = new QFrame(this);
    outer->setFrameStyle(QFrame::Panel | QFrame::Raised);
    outer->setLineWidth(2);
    auto *inner = new QFrame(outer);
    inner->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    WaitLbl = new QLabel(QStringLiteral("Please Wait"), inner);
    WaitLbl->setObjectName(QStringLiteral("WaitLbl"));
    WaitLbl->setAlignment(Qt::AlignCenter);
    QFont bold = WaitLbl->font();
    bold.setBold(true);
    WaitLbl->setFont(bold);

    auto *innerLayout = new QVBoxLayout(inner);
    innerLayout->setContentsMargins(2, 2, 2, 2);
    innerLayout->addWidget(WaitLbl);
    auto *outerLayout = new QVBoxLayout(outer);
    outerLayout->setContentsMargins(4, 4, 4, 4);
    outerLayout->addWidget(inner);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(outer);
}

void TWaitingForm::ShowNow()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    show();
    raise();
    repaint();
}
