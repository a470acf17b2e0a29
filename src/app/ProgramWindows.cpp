#include "ProgramWindows.h"

#include "AboutBox.h"
#include "Iddlg.h"
#include "Optdlg.h"
#include "PortConU.h"
#include "Tolm32U.h"
#include "WaitForm.h"
#include "editors/DatEditF.h"
#include "editors/ProgView.h"
#include "ops/ProcDlg.h"

ProgramWindows::ProgramWindows(Messages &shown) : Boxes(shown, Log)
{
    Messages &messages = Boxes;
    TolmMain = std::make_unique<TTolmMain>(Image, messages);
    IDCodeDlg = std::make_unique<TIDCodeDlg>(TolmMain.get());
    OptionsDlg = std::make_unique<TOptionsDlg>(messages, TolmMain.get());
    DataEditForm = std::make_unique<TDataEditForm>(Image);
    ProgViewForm = std::make_unique<TProgViewForm>(Image, TolmMain->BlankWordText());
    ProcessForm = std::make_unique<TProcessForm>(TolmMain->Requests(), TolmMain.get());
    AboutBox = std::make_unique<TAboutBox>(TolmMain.get());
    WaitingForm = std::make_unique<TWaitingForm>(TolmMain.get());
    PortDlg = std::make_unique<TPortDlg>(TolmMain.get());
    TolmMain->SetWindows(OptionsDlg.get(), DataEditForm.get(), ProgViewForm.get(), AboutBox.get());
    TolmMain->SetOperationWindows(IDCodeDlg.get(), ProcessForm.get(), WaitingForm.get());
    TolmMain->SetPortDialog(PortDlg.get());
    TolmMain->SetOperationLog(Log);
}

// The dialogs are children of the main window; they go before it so that neither is
// deleted twice.
ProgramWindows::~ProgramWindows()
{
    PortDlg.reset();
    WaitingForm.reset();
    AboutBox.reset();
    ProcessForm.reset();
    ProgViewForm.reset();
    DataEditForm.reset();
    OptionsDlg.reset();
    IDCodeDlg.reset();
    TolmMain.reset();
}
