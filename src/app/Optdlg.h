#pragma once

#include "ModulePortChoices.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class Messages;
class ProductionLogBox;
class QCheckBox;
class QComboBox;
class QGridLayout;
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

    // The name of the port picked in ComPortNum, as the settings store it: a listed one, or
    // the text typed into PortEdit (trimmed) when "Other" is picked.
    QString PortText() const;
    // Offers COM1 and COM2 where their devices exist, the given system ports, the ports typed
    // before and the text itself when none of these is it (see ModulePortChoices), and picks
    // the one named exactly so; an empty text (no port chosen yet) picks none.
    void SetPortText(const QString &text,
                     const QList<SystemPort> &systemPorts = SystemSerialPorts(),
                     const QStringList &comPorts = ExistingComPorts());
    // The port items offered, in the order shown, COM1 and COM2 first.
    QList<QRadioButton *> PortButtons() const;
    // Strikes the picked port off the list of ports typed before (RemovePortBtn).
    void RemovePortBtnClick();

    // Writes PicDevice, ModulePort and WorkingDir, in this order, into section Main of the
    // settings file. A failed write is reported and ends the save; the dialog stays open.
    // Then, each in a section of its own, the typed ports and the reload setting.
    void SaveBtnClick();
    // The ports typed before, newest first, listed again after the system's ports.
    const QStringList &TypedPorts() const { return m_typedPorts; }

    QGroupBox *ComPortNum = nullptr;
    QRadioButton *Com1Btn = nullptr;
    QRadioButton *Com2Btn = nullptr;
    QGroupBox *DeviceSet = nullptr;
    QComboBox *DeviceSelectOpt = nullptr;
    QGroupBox *DirBox = nullptr;
    QLineEdit *WorkingDirEdit = nullptr;
    // Beside the listed ports, any port by name: "ttyUSB3", a /dev/serial/by-id/ path, a
    // simulator's link.
    QRadioButton *OtherPortBtn = nullptr;
    QLineEdit *PortEdit = nullptr;
    // Enabled while a port typed before is picked: it goes from the list.
    QPushButton *RemovePortBtn = nullptr;
    // A loaded file that changes on disk is loaded again at once instead of being offered.
    QCheckBox *ReloadAtOnceCbx = nullptr;
    // Off: a success ("File loaded successfully", a verify without errors) is told on the
    // status line and in the log instead of a box that must be clicked away.
    QCheckBox *ConfirmSuccessesCbx = nullptr;
    // The production log: its place and whether the desktop program writes to it (from and
    // to the settings file, on each showing and on Save).
    ProductionLogBox *ProductionLog = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QPushButton *SaveBtn = nullptr;

    // OK: a typed port is remembered for the later showings of this run.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateControls();
    void LayOutControls();
    void SetTabOrder();
    QRadioButton *AddPortButton(const PortChoice &choice);
    void ShowRemovable();
    void PickPort(const QString &name);

    Messages &m_messages;
    QGridLayout *m_portLayout = nullptr;
    QList<QRadioButton *> m_extraPortButtons; // after COM1 and COM2, rebuilt on each showing
    QStringList m_typedPorts;
    // What the list was last built from, to build it again after a port is struck off.
    QString m_shownPort;
    QList<SystemPort> m_systemPorts;
    QStringList m_comPorts;
};
