#include "PortConU.h"

#include "PortProblem.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setMinimumWidth(121);
    return button;
}
} // namespace

TPortDlg::TPortDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PortDlg"));
    setWindowTitle(QStringLiteral("Port"));
    PortLbl = new QLabel(this);
    PortLbl->setObjectName(QStringLiteral("PortLbl"));
    PortLbl->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // The "&" gives each button its Alt key; the captions read as before.
    ReleaseBtn = MakeButton(this, QStringLiteral("ReleaseBtn"), QStringLiteral("&Release"));
    OKBtn = MakeButton(this, QStringLiteral("OKBtn"), QStringLiteral("&Connect"));
    CancelBtn = MakeButton(this, QStringLiteral("CancelBtn"), QStringLiteral("C&ancel"));
    OKBtn->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PortLbl);
    layout->addWidget(ReleaseBtn);
    layout->addWidget(OKBtn);
    layout->addWidget(CancelBtn);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ReleaseBtn, &QPushButton::clicked, this, [this] { done(kReleaseResult); });
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(kConnectResult); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(kCancelResult); });
}

void TPortDlg::SetPortName(const QString &portName)
{
    PortLbl->setText(QStringLiteral("Port: %1").arg(PortDisplayName(portName)));
}

void TPortDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The button pressed last time keeps the focus otherwise, and as an auto-default button
    // it would take Enter: one Release would make Enter release again.
    OKBtn->setFocus();
}

void TPortDlg::reject()
{
    done(kCancelResult);
}
