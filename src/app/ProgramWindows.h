#pragma once

#include "LoggedMessages.h"
#include "OperationLog.h"
#include "device/MemoryImage.h"

#include <memory>

class Messages;
class TAboutBox;
class TDataEditForm;
class TIDCodeDlg;
class TProcessForm;
class TWaitingForm;
class TOptionsDlg;
class TPortDlg;
class TProgViewForm;
class TTolmMain;

// The program's windows, created once in a fixed order and kept until the program ends.
// The main window comes first: its start-up reads the settings and picks the device and
// blank word before any other window exists; the program viewer, created after it, fills
// the program image with that blank word.
class ProgramWindows
{
public:
    explicit ProgramWindows(Messages &messages);
    ~ProgramWindows();

    MemoryImage Image;
    // Every box and status line of the session; the windows show their boxes through Boxes,
    // which writes each to the log and passes it to the program's own.
    OperationLog Log;
    LoggedMessages Boxes;
    std::unique_ptr<TTolmMain> TolmMain;
    std::unique_ptr<TIDCodeDlg> IDCodeDlg;
    std::unique_ptr<TOptionsDlg> OptionsDlg;
    std::unique_ptr<TDataEditForm> DataEditForm;
    std::unique_ptr<TProgViewForm> ProgViewForm;
    std::unique_ptr<TProcessForm> ProcessForm;
    std::unique_ptr<TAboutBox> AboutBox;
    std::unique_ptr<TWaitingForm> WaitingForm;
    std::unique_ptr<TPortDlg> PortDlg;
};
