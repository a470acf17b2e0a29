#include "ops/ProcDlg.h"

#include "ops/ProgressPlacement.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// Figures redrawn more often than this only flicker; the last word always shows.
constexpr qint64 kRefreshMs = 100;
constexpr int kInfoPage = 0;
constexpr int kSummaryPage = 1;
// Room for three lines of figures or summary; a longer summary makes the window taller.
constexpr int kSummaryLines = 3;
// The widest figures line a device can produce, to size the window once.
const QString kWidestFigures = QStringLiteral("Address 0000   100%   8192 of 8192 words");
// A summary that names a failure's details wants about this many characters a line.
constexpr int kSummaryLineChars = 50;

QPushButton *Button(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setMinimumSize(75, 25);
    // Enter presses the focused button, as Space does; the focus is on Start whenever the
    // window is ready, so either key runs the next chip.
    button->setAutoDefault(true);
    return button;
}

QLabel *Label(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

TProcessForm::TProcessForm(RequestFlags &flags, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_flags(flags)
{
    setObjectName(QStringLiteral("ProcessForm"));
    setModal(false);

    StatusLbl = Label(this, "StatusLbl");
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setRange(0, 100);
    ProgressBar->setTextVisible(false);
    ProgressBar->setFixedHeight(16);
    InfoPages = new QStackedWidget(this);
    InfoPages->setObjectName(QStringLiteral("InfoPages"));
    ProgressInfoLbl = Label(this, "ProgressInfoLbl");
    TimeInfoLbl = Label(this, "TimeInfoLbl");
    SummaryLbl = Label(this, "SummaryLbl");
    SummaryLbl->setWordWrap(true);
    SummaryLbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SummaryLbl->setTextInteractionFlags(Qt::TextSelectableByMouse); // a failure can be copied
    SummaryIconLbl = Label(this, "SummaryIconLbl");
    StartBtn = Button(this, "StartBtn", QStringLiteral("Start"));
    StopBtn = Button(this, "StopBtn", QStringLiteral("Stop"));
    CloseBtn = Button(this, "CloseBtn", QStringLiteral("Close"));
    StartBtn->setDefault(true);
    BuildLayout();

    connect(StartBtn, &QPushButton::clicked, this, &TProcessForm::StartBtnClick);
    connect(StopBtn, &QPushButton::clicked, this, &TProcessForm::StopBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &TProcessForm::CloseBtnClick);
}

void TProcessForm::BuildLayout()
{
    auto *infoPage = new QWidget;
    auto *info = new QVBoxLayout(infoPage);
    info->setContentsMargins(0, 0, 0, 0);
    info->setSpacing(0);
    info->addWidget(ProgressInfoLbl);
    info->addWidget(TimeInfoLbl);
    info->addStretch();
    InfoPages->addWidget(infoPage);
    auto *summaryPage = new QWidget;
    auto *summary = new QHBoxLayout(summaryPage);
    summary->setContentsMargins(0, 0, 0, 0);
    const int iconSide = fontMetrics().height();
    SummaryIconLbl->setFixedSize(iconSide, iconSide);
    summary->addWidget(SummaryIconLbl, 0, Qt::AlignTop);
    summary->addWidget(SummaryLbl, 1);
    InfoPages->addWidget(summaryPage);
    m_infoHeight = kSummaryLines * fontMetrics().lineSpacing();
    InfoPages->setFixedHeight(m_infoHeight);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(StartBtn);
    buttons->addWidget(StopBtn);
    buttons->addWidget(CloseBtn);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    layout->addWidget(StatusLbl);
    layout->addWidget(ProgressBar);
    layout->addWidget(InfoPages);
    layout->addSpacing(4);
    layout->addLayout(buttons);

    // One size for every state, wide enough for any device's figures, so the window never
    // jumps while it counts.
    const QMargins margins = layout->contentsMargins();
    const int textWidth = qMax(fontMetrics().horizontalAdvance(kWidestFigures),
                               fontMetrics().averageCharWidth() * kSummaryLineChars);
    const int width = qMax(258, textWidth + margins.left() + margins.right());
    setFixedSize(qMax(width, layout->sizeHint().width()), layout->sizeHint().height());
    m_summaryWidth =
        this->width() - margins.left() - margins.right() - iconSide - summary->spacing();
}

void TProcessForm::StartBtnClick()
{
    m_flags.StartRequested = true;
    m_flags.PauseRequested = false;
    if (m_pausedByStop) {
        m_pausedByStop = false;
        HoldClocks(false);
    }
    SummaryLbl->clear();
    ShowInfoPage(kInfoPage);
    StopBtn->setEnabled(true);
    // Space on the focused button now pauses; the focus would otherwise fall to Close.
    StopBtn->setFocus();
    StartBtn->setEnabled(false);
    emit RequestChanged();
}

void TProcessForm::StopBtnClick()
{
    m_flags.PauseRequested = true;
    m_flags.StartRequested = false;
    // The word in progress is finished first; the run goes on with the next one.
    if (!m_pausedByStop) {
        m_pausedByStop = true;
        HoldClocks(true);
    }
    ProgressInfoLbl->setText(PausedText(m_info.Figures()));
    StartBtn->setEnabled(true);
    StartBtn->setFocus(); // "Continue" is one key away
    StopBtn->setEnabled(false);
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
    StartBtn->setDefault(true);
    StartBtn->setFocus();
    m_summaryFailed = false;
    SummaryIconLbl->clear();
    if (m_pausedByStop) {
        m_pausedByStop = false;
        HoldClocks(false);
    }
    m_info = ProgressInfo();
    ProgressInfoLbl->clear();
    TimeInfoLbl->clear();
    SummaryLbl->clear();
    ShowInfoPage(kInfoPage);
}

void TProcessForm::SetStatus(const QString &text)
{
    StatusLbl->setText(text);
    m_info.StartTarget();
    ProgressInfoLbl->clear();
    TimeInfoLbl->clear();
    StatusLbl->repaint();
}

void TProcessForm::SetProgressStart(std::uint16_t address, bool dataAddress)
{
    m_info.SetStart(address, dataAddress);
}

void TProcessForm::SetProgressMax(int maximum)
{
    // A one-word range has the maximum 0, which a progress bar would show as "busy" forever.
    ProgressBar->setMaximum(qMax(1, maximum));
    m_info.SetMaximum(maximum);
    RefreshProgressInfo(m_info.ElapsedMs());
}

void TProcessForm::StepProgress()
{
    // The figures first: whoever watches the bar (a Stop pressed now) sees them counted.
    m_info.Step();
    ProgressBar->setValue(qMin(ProgressBar->value() + 1, ProgressBar->maximum()));
    const ProgressFigures &figures = m_info.Figures();
    if (figures.done >= figures.total || !m_sinceRefresh.isValid() ||
        m_sinceRefresh.elapsed() >= kRefreshMs)
        RefreshProgressInfo(m_info.ElapsedMs());
}

void TProcessForm::RefreshProgressInfo(qint64 elapsedMs)
{
    m_sinceRefresh.start();
    ProgressInfoLbl->setText(m_pausedByStop ? PausedText(m_info.Figures())
                                            : ProgressCountText(m_info.Figures()));
    TimeInfoLbl->setText(ProgressTimeText(m_info.Figures(), elapsedMs));
}

void TProcessForm::ShowSummary(const QString &text, bool failed)
{
    SummaryLbl->setText(text);
    SummaryLbl->setToolTip(text);
    m_summaryFailed = failed;
    const int side = fontMetrics().height();
    SummaryIconLbl->setPixmap(
        style()
            ->standardIcon(failed ? QStyle::SP_MessageBoxCritical : QStyle::SP_DialogApplyButton)
            .pixmap(side, side));
    SummaryIconLbl->setAccessibleName(failed ? QStringLiteral("Failed")
                                             : QStringLiteral("Succeeded"));
    ShowInfoPage(kSummaryPage);
    if (failed) {
        CloseBtn->setDefault(true);
        CloseBtn->setFocus();
    }
}

void TProcessForm::ShowInfoPage(int page)
{
    InfoPages->setCurrentIndex(page);
    // The summary is shown whole: the window grows for a long one and is its own size again
    // for the figures.
    const int wanted = page == kSummaryPage
                           ? qMax(m_infoHeight, SummaryLbl->heightForWidth(m_summaryWidth))
                           : m_infoHeight;
    if (InfoPages->height() == wanted && InfoPages->maximumHeight() == wanted)
        return;
    InfoPages->setFixedHeight(wanted);
    setFixedSize(width(), layout()->sizeHint().height());
    const QRect available = AvailableArea(*this);
    if (isVisible() && !available.isEmpty())
        move(KeptOnScreen(pos(), FrameSize(), available));
}

void TProcessForm::HoldClocks(bool hold)
{
    hold ? m_info.Hold() : m_info.Release();
    emit ClocksHeld(hold);
}

void TProcessForm::FollowWindow(QWidget &window)
{
    if (m_followed)
        m_followed->removeEventFilter(this);
    m_followed = &window;
    m_followedAt = window.pos();
    window.installEventFilter(this);
}

bool TProcessForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_followed && event->type() == QEvent::Move) {
        const QPoint now = m_followed->pos();
        // Where the user put the progress window beside the main window is kept.
        if (isVisible())
            move(pos() + now - m_followedAt);
        m_followedAt = now;
    }
    return QDialog::eventFilter(watched, event);
}

QSize TProcessForm::FrameSize() const
{
    // Before the first showing the window manager has not framed the window yet: allow for a
    // title bar, so that the bottom edge and the buttons are not placed off the screen.
    const QSize frame = frameGeometry().size();
    if (frame != size())
        return frame;
    return size() + QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
}

QRect TProcessForm::AvailableArea(const QWidget &near) const
{
    const QScreen *screen = near.screen() ? near.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void TProcessForm::PlaceBelow(const QWidget &window)
{
    const QRect available = AvailableArea(window);
    const QRect main = window.frameGeometry();
    if (available.isEmpty()) {
        move(main.left(), main.top() + main.height());
        return;
    }
    const int uncoveredTop =
        m_keepUncovered ? m_keepUncovered->mapToGlobal(QPoint(0, 0)).y() : main.bottom() + 1;
    move(ProgressWindowPlace(main, FrameSize(), available, uncoveredTop));
}

void TProcessForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const QRect available = AvailableArea(*this);
    if (available.isEmpty())
        return;
    // pos() is where the frame was asked to go; the frame itself may not be known yet.
    const QPoint kept = KeptOnScreen(pos(), FrameSize(), available);
    if (kept != pos())
        move(kept);
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
