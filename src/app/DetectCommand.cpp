// Detect: reading the device ID of the parts that have one, and selecting the part found.
#include "ChipOperations.h"
#include "DirectCommands.h"
#include "ModuleConnection.h"
#include "device/DeviceRecord.h"
#include "device/HexText.h"
#include "engine/DeviceId.h"
#include "engine/PicEngine.h"
#include "ops/Messages.h"
#include "texts/ChipTexts.h"
#include "texts/FailureTexts.h"

void DirectCommands::DetectBtnClick()
{
    ChipOperations &operations = m_parts.operations;
    if (!Idle() || !HasDeviceId(m_parts.device) || operations.RefusedForThePort())
        return;
    operations.RunHandler([&] {
        std::optional<ChipResult<std::uint16_t>> word;
        operations.RunWithEngine([&](PicEngine &engine) { word = ReadDeviceId(engine); });
        if (!*word) {
            operations.ShowChipFailure(kCommunicationError, word->Failure(),
                                       QStringLiteral("The device ID could not be read: %1.")
                                           .arg(FailureReason(word->Failure())));
            return;
        }
        const DeviceIdInfo info = DecodeDeviceId(**word);
        if (!info.partName) {
            m_parts.messages.Warning(QStringLiteral("The chip's device ID is %1, which names none "
                                                    "of the 16f628, 16f628a, 16f876 and 16f877.")
                                         .arg(FormatHex(info.word, 4)));
            return;
        }
        const QString found = QStringLiteral("Detected %1, revision %2 (device ID %3)")
                                  .arg(*info.partName)
                                  .arg(info.revision)
                                  .arg(FormatHex(info.word, 4));
        // As if the user had picked it: the program memory question and the module check.
        if (*info.partName != m_parts.device.DeviceName)
            emit DeviceDetected(*info.partName);
        emit StatusText(found);
    });
}
