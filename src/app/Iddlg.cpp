#include "Iddlg.h"

#include "HexEditFilter.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TIDCodeDlg::TIDCodeDlg(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("IDCodeDlg"));
    setWindowTitle(QStringLiteral("ID Code"));
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);

    IDMaskEdit = new QLineEdit(this);
    IDMaskEdit->setObjectName(QStringLiteral("IDMaskEdit"));
    SetupHexEdit(IDMaskEdit, 4, true);
    IDMaskEdit->setText(QStringLiteral("FFFF"));
    auto *filter = new HexEditFilter(this);
    filter->WatchHexEdit(IDMaskEdit);

    IDCodeLbl = new QLabel(QStringLiteral("&ID Code"), this);
    IDCodeLbl->setObjectName(QStringLiteral("IDCodeLbl"));
    IDCodeLbl->setBuddy(IDMaskEdit);

    OKBtn = new QPushButton(QStringLiteral("&OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &TIDCodeDlg::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &TIDCodeDlg::reject);

    auto *field = new QHBoxLayout;
    field->addWidget(IDCodeLbl);
    field->addWidget(IDMaskEdit);
    field->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QGridLayout(this);
    layout->addLayout(field, 0, 0);
    layout->addLayout(buttons, 1, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TIDCodeDlg::accept()
{
    if (!IDMaskEdit->hasAcceptableInput()) {
        IDMaskEdit->setFocus(Qt::OtherFocusReason);
        return;
    }
    QDialog::accept();
}

void TIDCodeDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    OKBtn->setFocus(Qt::OtherFocusReason);
}
