#include "MainStatusBar.h"

#include <QLabel>
#include <QPushButton>

namespace {

QPushButton *OfferButton(const char *name, const QString &caption, const QString &hint)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAutoDefault(false);
    button->hide();
    return button;
}

} // namespace

MainStatusBar::MainStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar"));
    // A fixed-size window: no grip to pull.
    setSizeGripEnabled(false);
    StatusLine = new QLabel;
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setTextFormat(Qt::PlainText);
    // The window does not widen for a long line; the end is cut and the tooltip holds it all.
    StatusLine->setMinimumWidth(1);
    StatusLine->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    ReloadBtn = OfferButton("ReloadBtn", QStringLiteral("&Reload"),
                            QStringLiteral("Load the file again for the ticked targets"));
    DismissBtn = OfferButton("DismissBtn", QStringLiteral("Dismiss"),
                             QStringLiteral("Keep the image as it is"));
    // Tall enough for the offer's buttons from the start: the window keeps one size.
    setMinimumHeight(ReloadBtn->sizeHint().height() + 2);
    PortLbl = new QLabel;
    PortLbl->setObjectName(QStringLiteral("PortLbl"));
    PortLbl->setTextFormat(Qt::PlainText);
    addWidget(StatusLine, 1);
    addPermanentWidget(ReloadBtn);
    addPermanentWidget(DismissBtn);
    addPermanentWidget(PortLbl);
    connect(ReloadBtn, &QPushButton::clicked, this, &MainStatusBar::ReloadClicked);
    connect(DismissBtn, &QPushButton::clicked, this, [this] {
        EndOffer();
        ShowText(QString());
    });
}

void MainStatusBar::ShowText(const QString &text)
{
    StatusLine->setText(text);
    StatusLine->setToolTip(text);
}

void MainStatusBar::OfferReload(const QString &fileName)
{
    ShowText(QStringLiteral("%1 changed on disk").arg(fileName));
    ReloadBtn->show();
    DismissBtn->show();
}

void MainStatusBar::EndOffer()
{
    ReloadBtn->hide();
    DismissBtn->hide();
}

bool MainStatusBar::OfferShown() const
{
    return !ReloadBtn->isHidden();
}

QString MainStatusBar::Text() const
{
    return StatusLine->text();
}

void MainStatusBar::ShowPortState(const QString &text)
{
    PortLbl->setText(text);
    PortLbl->setToolTip(text);
}
