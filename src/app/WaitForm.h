#pragma once

#include <QWidget>

class QLabel;

// "Please Wait": a small borderless notice, centred on the screen, shown (not modal) while a
// single calibration word is read or programmed.
class TWaitingForm : public QWidget
{
    Q_OBJECT
public:
    explicit TWaitingForm(QWidget *parent = nullptr);

    // Shows the notice and paints it at once: the chip exchanges that follow keep the event
    // loop from painting it later.
    void ShowNow();

    QLabel *WaitLbl = nullptr;
};
