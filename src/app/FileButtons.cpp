// "Load From File" and "Save To File": the window's side of the hex file exchange. The
// file format itself lives in hexfile/; here are the checks, the choosers, the caption
// and the reports.
#include "Tolm32U.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "editors/DatEditF.h"
#include "hexfile/HexReader.h"
#include "hexfile/HexWriter.h"
#include "ops/Messages.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>

namespace {

const QString kOpenFilter = QStringLiteral("IHX8M Files (*.hex);;All Files (*)");
const QString kSaveFilter = QStringLiteral("IHX8M Files (*.hex)");

} // namespace

HexTargets TTolmMain::CheckedTargets() const
{
    HexTargets targets;
    targets.Program = ProgMemCbx->isChecked();
    targets.Data = DataMemCbx->isChecked();
    targets.Config = ConfigCbx->isChecked();
    targets.IDCode = IDCodeCbx->isChecked();
    return targets;
}

void TTolmMain::ShowFileInCaption(const QString &fileName)
{
    setWindowTitle(QStringLiteral("Tolm %1 - %2").arg(VersionText, QFileInfo(fileName).fileName()));
}

void TTolmMain::LoadFromFileBtnClick()
{
    if (RefusedDuringChipWork(QStringLiteral("Load From File")) || NoTargetSelected())
        return;
    const QString fileName =
        m_messages.OpenFileName(DialogStartFolder(m_openDialogDirectory), kOpenFilter);
    if (fileName.isEmpty())
        return;
    LoadNamedFile(fileName, LoadReport::Boxes);
}

void TTolmMain::BlankTargets(const HexTargets &targets)
{
    if (targets.Program)
        m_image.FillProgramImage(::BlankWordText(m_currentDevice));
    if (targets.Data)
        m_image.FillDataImage(QStringLiteral("FF"));
    if (targets.IDCode)
        m_image.IDCodeText = QStringLiteral("FFFF");
    if (targets.Config) {
        m_image.ConfigWord = BlankWord(m_currentDevice);
        ConfigEdit->setText(FormatHex(m_image.ConfigWord, 4));
        ConfigToControls();
    }
}

void TTolmMain::LoadNamedFile(const QString &fileName, LoadReport report)
{
    // The caption names the file from here on, whatever the outcome of reading it.
    ShowFileInCaption(fileName);

    // The file replaces the ticked memories whole: what an earlier file (or another device's
    // file) left in them must not go to the next chip. A file that cannot be read leaves the
    // image as it was.
    const HexTargets targets = CheckedTargets();
    const QFileInfo file(fileName);
    if (file.isFile() && file.isReadable())
        BlankTargets(targets);
    const HexLoadResult result = LoadHexFile(fileName, m_image, m_currentDevice, targets);
    if (result.ConfigFound) {
        ConfigEdit->setText(result.ConfigEditText);
        ConfigToControls();
    }
    if (result.FileError.isEmpty())
        RememberFile(fileName);
    if (!result.FileError.isEmpty())
        m_messages.Error(result.FileError);
    // Missing records, a reading cut short by a damaged line and records the device has no
    // place for are all warnings, each on a line of its own: the image may lack words the
    // user expects to program.
    else if (result.IsWarning())
        m_messages.Warning(result.Report);
    else if (report == LoadReport::Boxes)
        m_messages.Information(result.Report);
    else
        ShowStatusLine(QStringLiteral("%1: %2").arg(QFileInfo(fileName).fileName(), result.Report));
}

void TTolmMain::SaveToFileBtnClick()
{
    if (RefusedDuringChipWork(QStringLiteral("Save To File")) || NoTargetSelected())
        return;
    // displayText keeps a blank position as "_", so a half-filled field fails to convert
    // instead of closing up into a different number.
    const HexAddressTexts addresses{ProgStartEdit->displayText(), ProgEndEdit->displayText(),
                                    DataStartEdit->displayText(), DataEndEdit->displayText()};
    if (!ParseAddressRanges(addresses)) {
        m_messages.Plain(QString::fromLatin1(kAddressErrorText));
        return;
    }
    const QString fileName =
        m_messages.SaveFileName(DialogStartFolder(m_saveDialogDirectory), kSaveFilter);
    if (fileName.isEmpty())
        return;
    ShowFileInCaption(fileName);

    const HexTargets targets = CheckedTargets();
    // The file holds the word the controls show, not the direct-access field.
    if (targets.Config)
        ControlsToConfig();
    // A byte still being typed in the data editor belongs in the file as shown.
    if (m_dataEditForm)
        m_dataEditForm->CompleteRememberedCell();
    const HexSaveResult result =
        SaveHexFile(fileName, m_image, m_currentDevice, targets, addresses);
    if (!result.Ok())
        m_messages.Error(result.Message);
    else
        RememberFile(fileName);
}
