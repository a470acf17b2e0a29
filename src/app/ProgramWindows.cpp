#include "ProgramWindows.h"

#include "AboutBox.h"
#include "Optdlg.h"
#include "PortConU.h"
#include "Tolm32U.h"
#include "editors/DatEditF.h"
#include "editors/ProgView.h"

ProgramWindows::ProgramWindows(Messages &messages)
{
    TolmMain = std::make_unique<TTolmMain>(Image, messages);
    OptionsDlg = std::make_unique<TOptionsDlg>(messages, TolmMain.get());
    DataEditForm = std::make_unique<TDataEditForm>(Image);
    ProgViewForm = std::make_unique<TProgViewForm>(Image, TolmMain->BlankWordText());
    AboutBox = std::make_unique<TAboutBox>(TolmMain.get());
    PortDlg = std::make_unique<TPortDlg>(TolmMain.get());
    TolmMain->SetWindows(OptionsDlg.get(), DataEditForm.get(), ProgViewForm.get(), AboutBox.get());
    TolmMain->SetPortDialog(PortDlg.get());
}

// The dialogs are children of the main window; they go before it so that neither is
// deleted twice.
ProgramWindows::~ProgramWindows()
{
    PortDlg.reset();
    AboutBox.reset();
    ProgViewForm.reset();
    DataEditForm.reset();
    OptionsDlg.reset();
    TolmMain.reset();
}
