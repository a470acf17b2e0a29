#pragma once

#include "ops/ProgressInfo.h"
#include "ops/RequestFlags.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPoint>
#include <QString>
#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QWidget;

// The progress window of Read, Write, Verify and Blank Check: a status line, a progress bar,
// where the target stands (address, share, count, time so far and left), and Start, Stop and
// Close. After a run it keeps a one-line summary until the next Start. Its buttons only raise
// and lower the request flags; the running operation reads them between words and in its
// waits. The window is hidden, never destroyed, between operations.
class TProcessForm : public QDialog
{
    Q_OBJECT
public:
    static inline const QString kReadyText = QStringLiteral("Ready...");

    TProcessForm(RequestFlags &flags, QWidget *parent = nullptr);

    // Ready for the next Start: status "Ready...", flags down, bar at 0, Start enabled, the
    // default button and focused, so Enter or Space starts the next chip.
    void BeReady();
    // The status line, painted at once: the chip exchanges that follow block the event loop.
    // A new status starts a new target: its figures and clock start afresh.
    void SetStatus(const QString &text);
    // The word loop's range: its first address, then the bar's maximum, then one step a word.
    void SetProgressStart(std::uint16_t address, bool dataAddress);
    void SetProgressMax(int maximum);
    void StepProgress();
    // Redraws the figures as they stand `elapsedMs` into the target.
    void RefreshProgressInfo(qint64 elapsedMs);
    // The line that stays after a run, in place of the figures, until the next Start. A failed
    // run shows the failure icon beside it and makes Close the default button, so that an
    // Enter pressed out of habit does not run the failed operation again.
    void ShowSummary(const QString &text, bool failed = false);
    bool SummaryShowsFailure() const { return m_summaryFailed; }
    // Directly below the given window, left edges aligned, where the screen has room for it
    // (see ProgressWindowPlace).
    void PlaceBelow(const QWidget &window);
    // The part of the main window the progress window must never cover, from this widget's
    // top down (the checksum and the status line).
    void KeepUncovered(const QWidget *widget) { m_keepUncovered = widget; }
    // Moves along with the given window, keeping where it stands beside it.
    void FollowWindow(QWidget &window);
    // A box waits for the user's answer: the time figures and the run's time leave it out.
    void HoldClocks(bool hold);
    RequestFlags &Flags() { return m_flags; }

    QLabel *StatusLbl = nullptr;
    QProgressBar *ProgressBar = nullptr;
    QStackedWidget *InfoPages = nullptr;
    QLabel *ProgressInfoLbl = nullptr;
    QLabel *TimeInfoLbl = nullptr;
    QLabel *SummaryLbl = nullptr;
    QLabel *SummaryIconLbl = nullptr;
    QPushButton *StartBtn = nullptr;
    QPushButton *StopBtn = nullptr;
    QPushButton *CloseBtn = nullptr;

public slots:
    void StartBtnClick();
    void StopBtnClick();
    void CloseBtnClick();

signals:
    // A flag changed: whoever waits for the user wakes up and looks at the flags.
    void RequestChanged();
    // The user paused, or a box waits: the run's clock is held until released.
    void ClocksHeld(bool held);

protected:
    // The window has no close box; a close from the window manager (or Esc) asks for Close
    // like the button, and the operation hides the window when it has ended.
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    // Whatever moved it (the user, a screen or scale change), it opens on the screen.
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildLayout();
    void ShowInfoPage(int page);
    QSize FrameSize() const;
    QRect AvailableArea(const QWidget &near) const;

    RequestFlags &m_flags;
    ProgressInfo m_info;
    QElapsedTimer m_sinceRefresh;
    bool m_summaryFailed = false;
    bool m_pausedByStop = false;
    int m_infoHeight = 0;
    int m_summaryWidth = 0;
    const QWidget *m_keepUncovered = nullptr;
    QWidget *m_followed = nullptr;
    QPoint m_followedAt;
};

// Holds the progress window's clocks for as long as it lives: a box that waits for the user's
// answer is no time the run took.
class HeldClocks
{
public:
    explicit HeldClocks(TProcessForm *form) : m_form(form)
    {
        if (m_form)
            m_form->HoldClocks(true);
    }
    ~HeldClocks()
    {
        if (m_form)
            m_form->HoldClocks(false);
    }
    HeldClocks(const HeldClocks &) = delete;
    HeldClocks &operator=(const HeldClocks &) = delete;

private:
    TProcessForm *m_form;
};
