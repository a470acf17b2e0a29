// Detect: reading the device ID and selecting the part it names, whatever part was selected.
#include "DetectCommand.h"

#include "ChipOperations.h"
#include "DirectCommands.h"
#include "ModuleConnection.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/catalogue/CatalogueInUse.h"
#include "engine/DeviceId.h"
#include "engine/PicEngine.h"
#include "ops/Messages.h"
#include "texts/ChipTexts.h"
#include "texts/FailureTexts.h"

std::optional<DeviceRecord> DeviceIdReader(const DeviceRecord &selected)
{
    if (HasDeviceId(selected))
        return selected;
    // Every part with a device ID keeps it at 2006 and reaches it the same way: the serial-mode
    // power-on and Load Configuration. A part confirmed on hardware that takes both methods
    // reads it, whichever method the selected part left chosen.
    for (const DeviceRecord &device : DevicesInUse()) {
        if (HasDeviceId(device) && device.HasParallel && device.HasSerial &&
            device.PowerOnMode == PowerOnMode::kSerialMode && !device.HasMemoryParity &&
            ConfirmedOnHardware(device))
            return device;
    }
    return std::nullopt;
}

QString DetectedText(const DeviceIdInfo &info, const QString &selectedBefore)
{
    const QString found = QStringLiteral("Detected %1, revision %2 (device ID %3)")
                              .arg(*info.partName)
                              .arg(info.revision)
                              .arg(FormatHex(info.word, 4));
    if (selectedBefore == *info.partName)
        return found;
    if (selectedBefore.isEmpty())
        return found + QStringLiteral(": now selected");
    return found + QStringLiteral(": now selected in place of the %1").arg(selectedBefore);
}

void DirectCommands::DetectBtnClick()
{
    ChipOperations &operations = m_parts.operations;
    const std::optional<DeviceRecord> reader = DeviceIdReader(m_parts.device);
    if (!Idle() || !reader || operations.RefusedForThePort())
        return;
    operations.RunHandler([&] {
        std::optional<ChipResult<std::uint16_t>> word;
        operations.RunWithEngineFor(*reader,
                                    [&](PicEngine &engine) { word = ReadDeviceId(engine); });
        if (!*word) {
            operations.ShowChipFailure(kCommunicationError, word->Failure(),
                                       QStringLiteral("The device ID could not be read: %1.")
                                           .arg(FailureReason(word->Failure())));
            return;
        }
        const DeviceIdInfo info = DecodeDeviceId(**word);
        if (!info.partName) {
            m_parts.messages.Warning(
                QStringLiteral("The chip's device ID is %1, which names none of Tolm's parts "
                               "(the older parts have no device ID).")
                    .arg(FormatHex(info.word, 4)));
            return;
        }
        const QString before = m_parts.device.DeviceName;
        // As if the user had picked it: the program memory question and the module check.
        if (*info.partName != before)
            emit DeviceDetected(*info.partName);
        emit StatusText(DetectedText(info, before));
    });
}
