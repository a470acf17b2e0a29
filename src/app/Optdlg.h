#pragma once

#include <QDialog>
#include <QString>

class Messages;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The Options dialog: module port, device and working directory. The main window fills it
// from the running program before each showing and applies it on OK; only Save touches the
// settings file, so the user can keep a setting for this session without making it the
// default for the next start.
class TOptionsDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TOptionsDlg(Messages &messages, QWidget *parent = nullptr);

    // "COM1" or "COM2", the item picked in ComPortNum.
    QString PortText() const;
    // Picks "COM2" only for exactly that text; any other name picks "COM1".
    void SetPortText(const QString &text);

    // Writes PicDevice, ModulePort and WorkingDir, in this order, into section Main of the
    // settings file. A failed write is reported and ends the save; the dialog stays open.
    void SaveBtnClick();

    QGroupBox *ComPortNum = nullptr;
    QRadioButton *Com1Btn = nullptr;
    QRadioButton *Com2Btn = nullptr;
    QGroupBox *DeviceSet = nullptr;
    QComboBox *DeviceSelectOpt = nullptr;
    QGroupBox *DirBox = nullptr;
    QLineEdit *WorkingDirEdit = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *SaveBtn = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateControls();
    void LayOutControls();

    Messages &m_messages;
};
