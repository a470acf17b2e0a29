// The chip commands of the Programming and Configuration pages beside the four operations:
// direct access to the configuration word, All Code Protect, Unprotect, the oscillator
// calibration word, and the ID Code dialog. Each asks before it changes anything, then runs
// one engine command; the engine decides what goes over the wire, this file what the user
// sees.
#include "Iddlg.h"
#include "Tolm32U.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "engine/ChipCommands.h"
#include "engine/PicEngine.h"
#include "ops/Messages.h"
#include "texts/ChipTexts.h"
#include "texts/FailureTexts.h"

#include <QLineEdit>
#include <QTabWidget>

bool TTolmMain::Confirmed(const QString &text)
{
    // A closed port is said at once, before the question: nothing could be sent.
    return !RefusedForThePort() && m_messages.ConfirmChipCommand(text);
}

void TTolmMain::ConfigReadBtnClick()
{
    if (ModuleBusy() || !Confirmed(QStringLiteral("Read Configuration Word Directly ! Proceed?")))
        return;
    RunHandler([this] {
        std::optional<ChipResult<std::uint16_t>> word;
        RunWithEngine([&](PicEngine &engine) { word = ReadConfigDirectly(engine); });
        if (!*word) {
            ShowChipFailure(kErrorReadingConfiguration, FailureReason(word->Failure()));
            return;
        }
        // Only the field: the image's configuration word and the option controls stay.
        ConfigEdit->setText(FormatHex(**word, 4));
    });
}

void TTolmMain::ConfigWriteBtnClick()
{
    if (ModuleBusy() || !Confirmed(QStringLiteral("Write Configuration Word Directly! Proceed?")))
        return;
    RunHandler([this] {
        // As shown, so that a blank position fails to convert and nothing is sent.
        const QString text = ConfigEdit->displayText();
        const auto value = ParseHexText(text);
        if (!value) {
            m_messages.Error(InvalidHexMessage(text));
            return;
        }
        if (*value & ~std::uint32_t{ConfigWordMask(m_currentDevice)}) {
            m_messages.Error(ConfigTooWideText(*value, m_currentDevice));
            return;
        }
        const auto word = static_cast<std::uint16_t>(*value);
        std::optional<ChipResult<NoValue>> written;
        RunWithEngine([&](PicEngine &engine) { written = engine.PicWriteConfig(word); });
        if (!*written)
            ShowChipFailure(kErrorWritingConfiguration, FailureReason(written->Failure()));
        else
            ShowStatusLine(QStringLiteral("Configuration word %1 written").arg(FormatHex(word, 4)));
    });
}

void TTolmMain::ShowChipFailure(const QString &text, const QString &reason)
{
    // A module that stopped answering is no fault of the chip: the box names the port.
    if (m_module.ModuleFellSilent())
        m_messages.PlainWithDetail(m_module.NoAnswerText(), reason);
    // The box keeps its fixed text; why it failed goes under it when the engine knows.
    else if (reason.isEmpty())
        m_messages.Plain(text);
    else
        m_messages.PlainWithDetail(text, reason);
}

void TTolmMain::ProtectBtnClick()
{
    if (ModuleBusy() || RefusedForThePort() ||
        m_module.IncorrectModule(m_currentDevice, m_messages) ||
        !Confirmed(QStringLiteral("This Process will Code Protect All the Device! Proceed?")))
        return;
    RunHandler([this] {
        const ConfigControls current = ReadConfigControls();
        std::optional<ChipResult<ProtectPlan>> plan;
        std::optional<ChipResult<NoValue>> written;
        RunWithEngine([&](PicEngine &engine) {
            plan = PlanAllCodeProtect(engine, current);
            if (*plan)
                written = engine.PicWriteConfig((*plan)->programmedWord);
        });
        if (!*plan) {
            ShowChipFailure(kErrorReadingConfiguration, FailureReason(plan->Failure()));
            return;
        }
        // The controls show the chip's configuration as read, before protection.
        WriteConfigControls((*plan)->controls);
        OptionPages->setCurrentWidget(Programming);
        if (!*written)
            ShowChipFailure(kErrorWritingConfigurationWord, FailureReason(written->Failure()));
        else
            ShowStatusLine(QStringLiteral("Code protected: configuration word %1 programmed")
                               .arg(FormatHex((*plan)->programmedWord, 4)));
    });
}

void TTolmMain::UnProtectBtnClick()
{
    if (ModuleBusy() ||
        !Confirmed(QStringLiteral("This Process will Unprotect and Erase the Device! Proceed?")))
        return;
    RunHandler([this] {
        std::optional<ChipResult<NoValue>> erased;
        RunWithEngine([&](PicEngine &engine) { erased = UnprotectDevice(engine); });
        if (!*erased)
            ShowChipFailure(kCommunicationError, FailureReason(erased->Failure()));
        else
            ShowStatusLine(QStringLiteral("Unprotected and erased"));
    });
}

void TTolmMain::ReadCalBtnClick()
{
    if (ModuleBusy() || !Confirmed(QStringLiteral("Read Oscillator Calibration?")))
        return;
    RunHandler([this] {
        std::optional<ChipResult<std::uint8_t>> value;
        RunWithEngine([&](PicEngine &engine) { value = ReadCalibration(engine); });
        // After a failed read the field keeps the value it had: nothing valid was read.
        if (!*value)
            ShowChipFailure(kErrorReadingCalibration, FailureReason(value->Failure()));
        else
            CalEdit->setText(FormatHex(**value, 2));
    });
}

void TTolmMain::WriteCalBtnClick()
{
    if (ModuleBusy() || !Confirmed(QStringLiteral("Write Oscillator Calibration?")))
        return;
    RunHandler([this] {
        // A device without a calibration word sends and shows nothing.
        if (!CalibrationAddress(m_currentDevice))
            return;
        const QString text = CalEdit->displayText();
        const auto value = ParseHexText(text);
        if (!value) {
            m_messages.Error(InvalidHexMessage(text));
            return;
        }
        // The field holds two digits: the value is a byte.
        const auto instruction =
            *CalibrationInstruction(m_currentDevice, static_cast<std::uint8_t>(*value));
        std::optional<ChipResult<NoValue>> written;
        RunWithEngine([&](PicEngine &engine) { written = WriteCalibration(engine, instruction); });
        if (!*written)
            ShowChipFailure(kErrorWritingCalibration, CalibrationWriteReason(written->Failure()));
        else
            ShowStatusLine(
                QStringLiteral("Calibration word %1 written").arg(FormatHex(instruction, 4)));
    });
}

void TTolmMain::BuildCalBtnClick()
{
    if (RefusedDuringChipWork(QStringLiteral("Build From Memory")))
        return;
    const ImageCalibration calibration = CalibrationInImage(m_image, m_currentDevice);
    if (!calibration.byte)
        m_messages.Error(InvalidHexMessage(calibration.cellText));
    else
        CalEdit->setText(FormatHex(*calibration.byte, 2));
}

void TTolmMain::IDCodeBtnClick()
{
    if (!m_idCodeDlg || RefusedDuringChipWork(QStringLiteral("The ID Code")))
        return;
    m_idCodeDlg->IDMaskEdit->setText(m_image.IDCodeText);
    if (m_idCodeDlg->exec() == QDialog::Accepted)
        m_image.IDCodeText = m_idCodeDlg->IDMaskEdit->text();
}
