#pragma once

#include "ops/RequestFlags.h"

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

// The progress window of Read, Write, Verify and Blank Check: a status line, a progress bar
// and Start, Stop and Close. Its buttons only raise and lower the request flags; the running
// operation reads them between words and in its waits. The window is hidden, never destroyed,
// between operations.
class TProcessForm : public QDialog
{
    Q_OBJECT
public:
    static inline const QString kReadyText = QStringLiteral("Ready...");

    TProcessForm(RequestFlags &flags, QWidget *parent = nullptr);

    // Ready for the next Start: status "Ready...", flags down, bar at 0, Start enabled.
    void BeReady();
    // The status line, painted at once: the chip exchanges that follow block the event loop.
    void SetStatus(const QString &text);
    // Directly below the given window, left edges aligned.
    void PlaceBelow(const QWidget &window);
    RequestFlags &Flags() { return m_flags; }

    QLabel *StatusLbl = nullptr;
    QProgressBar *ProgressBar = nullptr;
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

protected:
    // The window has no close box; a close from the window manager (or Esc) asks for Close
    // like the button, and the operation hides the window when it has ended.
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    RequestFlags &m_flags;
};
