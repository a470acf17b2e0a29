#include "MainStatusBar.h"

#include <QGridLayout>
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
    LogBtn = new QPushButton(QStringLiteral("&Log"));
    LogBtn->setObjectName(QStringLiteral("LogBtn"));
    LogBtn->setCheckable(true);
    LogBtn->setAutoDefault(false);
    LogBtn->setToolTip(QStringLiteral("Every message of this session, with its time"));
    PortLbl = new QLabel;
    PortLbl->setObjectName(QStringLiteral("PortLbl"));
    PortLbl->setTextFormat(Qt::PlainText);
    PortLbl->setMinimumWidth(1);
    PortLbl->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    // Two lines, so that neither the news nor the port is cut short in a narrow window: the
    // news with the offer's buttons above, the module's port with the log's button below.
    auto *lines = new QWidget;
    auto *grid = new QGridLayout(lines);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(0);
    grid->addWidget(StatusLine, 0, 0);
    grid->addWidget(ReloadBtn, 0, 1);
    grid->addWidget(DismissBtn, 0, 2);
    grid->addWidget(PortLbl, 1, 0);
    grid->addWidget(LogBtn, 1, 1, 1, 2, Qt::AlignRight);
    grid->setColumnStretch(0, 1);
    // Tall enough for the offer's buttons from the start: the window keeps one size.
    grid->setRowMinimumHeight(0, ReloadBtn->sizeHint().height());
    addWidget(lines, 1);
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
