// Detect and "Erase before write": reading the device ID of the parts that have one, and the
// flash parts' erase-then-write, from the main window.
#include "MainStatusBar.h"
#include "Tolm32U.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "engine/DeviceId.h"
#include "engine/EraseThenWrite.h"
#include "engine/PicEngine.h"
#include "ops/EraseBeforeWrite.h"
#include "ops/Messages.h"
#include "texts/ChipTexts.h"
#include "texts/FailureTexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QToolButton>

void TTolmMain::ShowDeviceExtras()
{
    DetectBtn->setEnabled(HasDeviceId(m_currentDevice));
    // An EPROM part cannot be erased: a tick from a flash part does not carry over to it.
    if (!HasBulkErase(m_currentDevice))
        EraseBeforeWriteCbx->setChecked(false);
    ScheduleChecksum();
}

void TTolmMain::EraseBeforeWriteToggled(bool checked)
{
    if (!checked || HasBulkErase(m_currentDevice))
        return;
    EraseBeforeWriteCbx->setChecked(false);
    m_messages.Warning(
        EraseBeforeWriteRefusalText(EraseThenWriteRefusal::NotErasable, m_currentDevice));
}

void TTolmMain::DetectBtnClick()
{
    if (ModuleBusy() || !HasDeviceId(m_currentDevice) || RefusedForThePort())
        return;
    RunHandler([this] {
        std::optional<ChipResult<std::uint16_t>> word;
        RunWithEngine([&](PicEngine &engine) { word = ReadDeviceId(engine); });
        if (!*word) {
            ShowChipFailure(kCommunicationError,
                            QStringLiteral("The device ID could not be read: %1.")
                                .arg(FailureReason(word->Failure())));
            return;
        }
        const DeviceIdInfo info = DecodeDeviceId(**word);
        if (!info.partName) {
            m_messages.Warning(QStringLiteral("The chip's device ID is %1, which names none of "
                                              "the 16f628, 16f628a, 16f876 and 16f877.")
                                   .arg(FormatHex(info.word, 4)));
            return;
        }
        const QString found = QStringLiteral("Detected %1, revision %2 (device ID %3)")
                                  .arg(*info.partName)
                                  .arg(info.revision)
                                  .arg(FormatHex(info.word, 4));
        if (*info.partName != m_currentDevice.DeviceName) {
            // As if the user had picked it: the program memory question and the module check.
            DeviceSelector->setCurrentIndex(DeviceSelector->findText(*info.partName));
            DeviceSelectorChange();
        }
        ShowStatusLine(found);
    });
}
