// Adapting the main window's controls to the selected device, and carrying the
// configuration controls to and from the configuration word.
#include "Tolm32U.h"
#include "device/DeviceOptions.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "device/catalogue/CatalogueInUse.h"
#include "editors/DatEditF.h"
#include "editors/ProgView.h"
#include "ops/Messages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

namespace {

// A box the device offers keeps its check; one it does not offer is cleared and disabled.
void OfferBox(QCheckBox *box, bool offered)
{
    if (!offered)
        box->setChecked(false);
    box->setEnabled(offered);
}

} // namespace

bool TTolmMain::SetDeviceValues(const QString &deviceName, bool allowEditorClose)
{
    const std::optional<DeviceRecord> found = FindDevice(deviceName);
    if (!found) {
        // Only a hand-edited settings file or the Options dialog's free text gets here;
        // the selector goes back to the device that stays selected.
        SelectDeviceInSelector(m_currentDevice.DeviceName);
        return false;
    }
    m_currentDevice = *found;
    SelectDeviceInSelector(m_currentDevice.DeviceName);

    SetOscillatorList();
    SetMethodButtons();
    ProtNoneBtn->setChecked(true);
    OfferBox(WdtCbx, m_currentDevice.HasWdt);
    OfferBox(PutCbx, m_currentDevice.HasPwrt);
    OfferBox(BOutCbx, m_currentDevice.HasBrownout);
    SetAddressRanges();
    SetDataMemoryControls(allowEditorClose);
    // A part may offer one partial choice without the other (the 16F627 only "Upper 3/4").
    const ConfigControlsEnabled offered = EnabledControls(m_currentDevice);
    // Unchecking a radio button of an exclusive group needs the group opened briefly.
    ProtectionGroup->setExclusive(false);
    if (!offered.ProtUp34Btn)
        ProtUp34Btn->setChecked(false);
    if (!offered.ProtUp12Btn)
        ProtUp12Btn->setChecked(false);
    ProtectionGroup->setExclusive(true);
    ProtUp34Btn->setEnabled(offered.ProtUp34Btn);
    ProtUp12Btn->setEnabled(offered.ProtUp12Btn);
    SerialRBtn->setEnabled(m_currentDevice.HasSerial);
    ParallelRBtn->setEnabled(m_currentDevice.HasParallel);
    SetOptionControls();
    CalibrationBox->setVisible(m_currentDevice.HasCalibration);
    ShowProgramEndInViewer();
    ShowDeviceExtras();
    return true;
}

void TTolmMain::ShowProgramEndInViewer()
{
    if (!m_progViewForm)
        return;
    const std::optional<uint32_t> last = ParseHexText(m_currentDevice.ProgMaxText);
    m_progViewForm->SetLastProgramAddress(last ? int(*last) : MemoryImage::kProgramWords - 1);
}

void TTolmMain::SelectDeviceInSelector(const QString &deviceName)
{
    // The empty record has no item: the selector then shows no text.
    DeviceSelector->setCurrentIndex(
        DeviceSelector->findText(deviceName, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void TTolmMain::SetOscillatorList()
{
    if (!HasOscillatorList(m_currentDevice))
        return; // the no-device row keeps whatever list is shown
    const QStringList items = OscillatorList(m_currentDevice);
    OscBox->clear();
    OscBox->addItems(items);
    OscBox->setCurrentIndex(static_cast<int>(items.size()) - 1);
}

void TTolmMain::SetMethodButtons()
{
    // Parallel is the preselected method wherever the device has it.
    const bool parallel = m_currentDevice.HasParallel;
    ParallelRBtn->setAutoExclusive(false);
    SerialRBtn->setAutoExclusive(false);
    ParallelRBtn->setChecked(parallel);
    SerialRBtn->setChecked(!parallel);
    ParallelRBtn->setAutoExclusive(true);
    SerialRBtn->setAutoExclusive(true);
}

void TTolmMain::SetAddressRanges()
{
    MaxProgBtnClick();
    MaxDataBtnClick();
}

void TTolmMain::SetDataMemoryControls(bool allowEditorClose)
{
    const bool hasData = m_currentDevice.HasDataMemory;
    DataMemBox->setEnabled(hasData);
    DataMemBox->setVisible(hasData);
    DataEditorBtn->setEnabled(hasData);
    UnProtectBtn->setEnabled(hasData);
    if (!hasData)
        DataMemCbx->setChecked(false);
    DataMemCbx->setEnabled(hasData);
    // The editor's contents stay in the image; only its window goes.
    if (!hasData && allowEditorClose && m_dataEditForm && m_dataEditForm->isVisible())
        m_dataEditForm->close();
}

void TTolmMain::SetOptionControls()
{
    const bool hasConfigWord = !m_currentDevice.NoConfigWord;
    if (!hasConfigWord)
        ConfigCbx->setChecked(false);
    ConfigCbx->setEnabled(hasConfigWord);
    ProtectBtn->setEnabled(hasConfigWord);

    OfferBox(LvpCbx, m_currentDevice.HasLvp);
    OfferBox(DebugCbx, m_currentDevice.HasDebug);
    OfferBox(WrtCbx, m_currentDevice.HasWrt);
    OfferBox(CpdCbx, m_currentDevice.HasCpd);
    OfferBox(MClrCbx, m_currentDevice.HasMclre);
    OfferBox(MpeenCbx, m_currentDevice.HasMemoryParity);
}

void TTolmMain::DeviceSelectorChange()
{
    if (RefusedDuringChipWork(QStringLiteral("A device change"))) {
        SelectDeviceInSelector(m_currentDevice.DeviceName);
        return;
    }
    SetDeviceValues(DeviceSelector->currentText(), true);
    SetProgramMemory();
    CheckModuleAfterDeviceChange();
}

void TTolmMain::SetProgramMemory()
{
    const QString blank = ::BlankWordText(m_currentDevice);
    if (m_messages.Confirm(QStringLiteral("Set Program Memory to %1 ?").arg(blank)))
        m_image.FillProgramImage(blank);
}

void TTolmMain::MaxProgBtnClick()
{
    ProgStartEdit->setText(QStringLiteral("0000"));
    ProgEndEdit->setText(m_currentDevice.ProgMaxText);
}

void TTolmMain::MaxDataBtnClick()
{
    DataStartEdit->setText(QStringLiteral("00"));
    DataEndEdit->setText(m_currentDevice.DataMaxText);
}

ConfigControls TTolmMain::ReadConfigControls() const
{
    ConfigControls c;
    c.OscBox = OscBox->currentIndex();
    c.WdtCbx = WdtCbx->isChecked();
    c.PutCbx = PutCbx->isChecked();
    c.LvpCbx = LvpCbx->isChecked();
    c.BOutCbx = BOutCbx->isChecked();
    c.MClrCbx = MClrCbx->isChecked();
    c.DebugCbx = DebugCbx->isChecked();
    c.CpdCbx = CpdCbx->isChecked();
    c.WrtCbx = WrtCbx->isChecked();
    c.MpeenCbx = MpeenCbx->isChecked();
    c.ProtNoneBtn = ProtNoneBtn->isChecked();
    c.ProtUp12Btn = ProtUp12Btn->isChecked();
    c.ProtUp34Btn = ProtUp34Btn->isChecked();
    c.ProtAllBtn = ProtAllBtn->isChecked();
    return c;
}

void TTolmMain::WriteConfigControls(const ConfigControls &c)
{
    if (c.OscBox >= 0 && c.OscBox < OscBox->count())
        OscBox->setCurrentIndex(c.OscBox);
    WdtCbx->setChecked(c.WdtCbx);
    PutCbx->setChecked(c.PutCbx);
    LvpCbx->setChecked(c.LvpCbx);
    BOutCbx->setChecked(c.BOutCbx);
    MClrCbx->setChecked(c.MClrCbx);
    DebugCbx->setChecked(c.DebugCbx);
    CpdCbx->setChecked(c.CpdCbx);
    WrtCbx->setChecked(c.WrtCbx);
    MpeenCbx->setChecked(c.MpeenCbx);
    // A word that matches no protection pattern shows no choice at all, a state an
    // exclusive group cannot reach by itself.
    ProtectionGroup->setExclusive(false);
    ProtNoneBtn->setChecked(c.ProtNoneBtn);
    ProtUp12Btn->setChecked(c.ProtUp12Btn);
    ProtUp34Btn->setChecked(c.ProtUp34Btn);
    ProtAllBtn->setChecked(c.ProtAllBtn);
    ProtectionGroup->setExclusive(true);
}

uint16_t TTolmMain::ConfigWord() const
{
    return m_image.ConfigWord;
}

void TTolmMain::ConfigToControls()
{
    WriteConfigControls(
        ::ConfigToControls(m_image.ConfigWord, m_currentDevice, ReadConfigControls()));
}

void TTolmMain::ControlsToConfig()
{
    m_image.ConfigWord =
        ::ControlsToConfig(ReadConfigControls(), m_currentDevice, m_image.ConfigWord);
}

void TTolmMain::RefreshBtnClick()
{
    ControlsToConfig();
    ConfigEdit->setText(FormatHex(m_image.ConfigWord, 4));
}
