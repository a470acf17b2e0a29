#include "PortConU.h"

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
    ReleaseBtn = MakeButton(this, QStringLiteral("ReleaseBtn"), QStringLiteral("Release"));
    OKBtn = MakeButton(this, QStringLiteral("OKBtn"), QStringLiteral("Connect"));
    CancelBtn = MakeButton(this, QStringLiteral("CancelBtn"), QStringLiteral("Cancel"));
    OKBtn->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ReleaseBtn);
    layout->addWidget(OKBtn);
    layout->addWidget(CancelBtn);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(ReleaseBtn, &QPushButton::clicked, this, [this] { done(kReleaseResult); });
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(kConnectResult); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(kCancelResult); });
}

void TPortDlg::reject()
{
    done(kCancelResult);
}
