#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The small "Port" dialog behind the Connect button: connect to the module again, or give
// the port back to the system so another program can use it.
class TPortDlg : public QDialog
{
    Q_OBJECT
public:
    // The dialog's results, as the main window tells them apart.
    static constexpr int kConnectResult = 1;
    static constexpr int kCancelResult = 2;
    static constexpr int kReleaseResult = 6;

    explicit TPortDlg(QWidget *parent = nullptr);

    // Names the port that Connect will open and Release will give back.
    void SetPortName(const QString &portName);

    QLabel *PortLbl;
    QPushButton *ReleaseBtn;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override; // Esc and the window's close button answer Cancel
};
