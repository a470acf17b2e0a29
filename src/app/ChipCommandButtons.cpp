// The chip commands of the Programming and Configuration pages beside the four operations:
// direct access to the configuration word, All Code Protect, Unprotect, the oscillator
// calibration word, and the ID Code dialog. Each asks before it changes anything, then runs
// one engine command; the engine decides what goes over the wire, this file what the user
// sees.
#include "Iddlg.h"
#include "Tolm32U.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "engine/ChipCommands.h"
#include "engine/EngineTexts.h"
#include "engine/PicEngine.h"
#include "ops/Messages.h"

#include <QLineEdit>
#include <QTabWidget>

bool TTolmMain::Confirmed(const QString &text)
{
    return m_messages.ConfirmChipCommand(text);
}

void TTolmMain::ConfigReadBtnClick()
{
    if (ModuleBusy() || !Confirmed(QStringLiteral("Read Configuration Word Directly ! Proceed?")))
        return;
    RunHandler([this] {
        std::optional<std::uint16_t> word;
        RunWithEngine([&](PicEngine &engine) { word = ReadConfigDirectly(engine); });
        if (!word) {
            m_messages.Plain(kErrorReadingConfiguration);
            return;
        }
        // Only the field: the image's configuration word and the option controls stay.
        ConfigEdit->setText(FormatHex(*word, 4));
    });
}

void TTolmMain::ConfigWriteBtnClick()
{
    if (ModuleBusy() || !Confirmed(QStringLiteral("Write Configuration Word Directly! Proceed?")))
        return;
    RunHandler([this] {
        DirectWriteResult result;
        // As shown, so that a blank position fails to convert and nothing is sent.
        const QString text = ConfigEdit->displayText();
        RunWithEngine([&](PicEngine &engine) { result = WriteConfigDirectly(engine, text); });
        if (!result.conversionError.isEmpty())
            m_messages.Error(result.conversionError);
        else if (!result.written)
            m_messages.Plain(kErrorWritingConfiguration);
        else
            ShowStatusLine(QStringLiteral("Configuration word %1 written")
                               .arg(FormatHex(result.value.value_or(0), 4)));
    });
}

void TTolmMain::ProtectBtnClick()
{
    if (ModuleBusy() || m_module.IncorrectModule(m_currentDevice, m_messages) ||
        !Confirmed(QStringLiteral("This Process will Code Protect All the Device! Proceed?")))
        return;
    RunHandler([this] {
        ProtectResult result;
        const ConfigControls current = ReadConfigControls();
        RunWithEngine([&](PicEngine &engine) { result = AllCodeProtect(engine, current); });
        if (result.stage == ProtectResult::Stage::ReadFailed) {
            m_messages.Plain(kErrorReadingConfiguration);
            return;
        }
        // The controls show the chip's configuration as read, before protection.
        WriteConfigControls(result.controls);
        OptionPages->setCurrentWidget(Programming);
        if (result.stage == ProtectResult::Stage::WriteFailed)
            m_messages.Plain(kErrorWritingConfigurationWord);
        else
            ShowStatusLine(QStringLiteral("Code protected: configuration word %1 programmed")
                               .arg(FormatHex(result.programmedWord, 4)));
    });
}

void TTolmMain::UnProtectBtnClick()
{
    if (ModuleBusy() ||
        !Confirmed(QStringLiteral("This Process will Unprotect and Erase the Device! Proceed?")))
        return;
    RunHandler([this] {
        bool done = false;
        RunWithEngine([&](PicEngine &engine) { done = UnprotectDevice(engine); });
        if (!done)
            m_messages.Plain(EngineTexts::kCommunicationError);
        else
            ShowStatusLine(QStringLiteral("Unprotected and erased"));
    });
}

void TTolmMain::ReadCalBtnClick()
{
    if (ModuleBusy() || !Confirmed(QStringLiteral("Read Oscillator Calibration?")))
        return;
    RunHandler([this] {
        std::optional<std::uint8_t> value;
        RunWithEngine([&](PicEngine &engine) { value = ReadCalibration(engine); });
        // After a failed read the field keeps the value it had: nothing valid was read.
        if (!value)
            m_messages.Plain(kErrorReadingCalibration);
        else
            CalEdit->setText(FormatHex(*value, 2));
    });
}

void TTolmMain::WriteCalBtnClick()
{
    if (ModuleBusy() || !Confirmed(QStringLiteral("Write Oscillator Calibration?")))
        return;
    RunHandler([this] {
        CalibrationWriteResult result;
        const QString text = CalEdit->displayText();
        RunWithEngine([&](PicEngine &engine) { result = WriteCalibration(engine, text); });
        if (result.status == CalibrationWriteResult::Status::BadText)
            m_messages.Error(result.conversionError);
        else if (result.status == CalibrationWriteResult::Status::Failed)
            m_messages.Plain(kErrorWritingCalibration);
        else if (result.status == CalibrationWriteResult::Status::Written)
            ShowStatusLine(
                QStringLiteral("Calibration word %1 written").arg(FormatHex(result.word, 4)));
    });
}

void TTolmMain::BuildCalBtnClick()
{
    // The image only, no chip access: allowed while the module is busy.
    const CalibrationBuildResult result = BuildCalibrationFromMemory(m_image, m_currentDevice);
    if (!result.conversionError.isEmpty())
        m_messages.Error(result.conversionError);
    else
        CalEdit->setText(result.text);
}

void TTolmMain::IDCodeBtnClick()
{
    if (!m_idCodeDlg)
        return;
    m_idCodeDlg->IDMaskEdit->setText(m_image.IDCodeText);
    if (m_idCodeDlg->exec() == QDialog::Accepted)
        m_image.IDCodeText = m_idCodeDlg->IDMaskEdit->text();
}
