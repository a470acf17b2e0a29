#pragma once

#include <QList>
#include <QObject>
#include <QString>

class ChipOperations;
class ConfigurationPart;
class MemoryImage;
class Messages;
class ModuleConnection;
class QToolButton;
class QWidget;
class TIDCodeDlg;
struct DeviceRecord;

// The chip commands beside the four operations: direct access to the configuration word, All
// Code Protect, Unprotect, the oscillator calibration word, the ID Code dialog and Detect.
// Each asks before it changes anything, then runs one engine command in the frame of the chip
// operations; the engine decides what goes over the wire, this part what the user sees.
class DirectCommands : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        MemoryImage &image;
        const DeviceRecord &device;
        Messages &messages;
        ModuleConnection &module;
        ConfigurationPart &config;
        ChipOperations &operations;
    };
    explicit DirectCommands(const Parts &parts, QObject *parent = nullptr);

    // For the pages and the toolbar.
    QList<QWidget *> ProgrammingButtons() const; // All Code Protect, Unprotect, ID Code
    QList<QWidget *> DirectAccessButtons() const;
    QList<QWidget *> CalibrationButtons() const;
    QWidget *DetectButton() const;

    void SetIdCodeDialog(TIDCodeDlg *dialog) { m_idCodeDlg = dialog; }
    // Protect needs a configuration word, Unprotect data memory, Detect a device ID.
    void AdaptToDevice();
    // Detect is on the toolbar, outside the pages the window locks during chip work.
    void SetChipWorkRunning(bool running);

public slots:
    void ConfigReadBtnClick();
    void ConfigWriteBtnClick();
    void ProtectBtnClick();
    void UnProtectBtnClick();
    void ReadCalBtnClick();
    void WriteCalBtnClick();
    void BuildCalBtnClick();
    void IDCodeBtnClick();
    // Reads the device ID and has the part found selected (DetectAndErase.cpp).
    void DetectBtnClick();

signals:
    // Quiet news for the status line: a command that worked, a part detected.
    void StatusText(const QString &text);
    // Protect has shown the chip's configuration: the Programming page comes to the front.
    void ShowProgrammingPage();
    // Detect found another part than the selected one; the window selects it as if picked.
    void DeviceDetected(const QString &name);

private:
    void BuildControls();
    // The question before a command; a closed port is said first, and nothing is asked.
    bool Confirmed(const QString &text);
    bool Idle() const;

    Parts m_parts;
    TIDCodeDlg *m_idCodeDlg = nullptr;

    QToolButton *ProtectBtn = nullptr;
    QToolButton *UnProtectBtn = nullptr;
    QToolButton *IDCodeBtn = nullptr;
    QToolButton *ConfigReadBtn = nullptr;
    QToolButton *ConfigWriteBtn = nullptr;
    QToolButton *ReadCalBtn = nullptr;
    QToolButton *WriteCalBtn = nullptr;
    QToolButton *BuildCalBtn = nullptr;
    QToolButton *DetectBtn = nullptr;
};
