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
        std::optional<std::uint16_t> word;
        QString reason;
        RunWithEngine([&](PicEngine &engine) {
            word = ReadConfigDirectly(engine);
            reason = LastFailureReason(engine);
        });
        if (!word) {
            ShowChipFailure(kErrorReadingConfiguration, reason);
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
        QString reason;
        // As shown, so that a blank position fails to convert and nothing is sent.
        const QString text = ConfigEdit->displayText();
        RunWithEngine([&](PicEngine &engine) {
            result = WriteConfigDirectly(engine, text);
            reason = LastFailureReason(engine);
        });
        if (!result.conversionError.isEmpty())
            m_messages.Error(result.conversionError);
        else if (result.tooWide)
            m_messages.Error(EngineTexts::ConfigTooWideText(*result.value, m_currentDevice));
        else if (!result.written)
            ShowChipFailure(kErrorWritingConfiguration, reason);
        else
            ShowStatusLine(QStringLiteral("Configuration word %1 written")
                               .arg(FormatHex(result.value.value_or(0), 4)));
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
        ProtectResult result;
        QString reason;
        const ConfigControls current = ReadConfigControls();
        RunWithEngine([&](PicEngine &engine) {
            result = AllCodeProtect(engine, current);
            reason = LastFailureReason(engine);
        });
        if (result.stage == ProtectResult::Stage::ReadFailed) {
            ShowChipFailure(kErrorReadingConfiguration, reason);
            return;
        }
        // The controls show the chip's configuration as read, before protection.
        WriteConfigControls(result.controls);
        OptionPages->setCurrentWidget(Programming);
        if (result.stage == ProtectResult::Stage::WriteFailed)
            ShowChipFailure(kErrorWritingConfigurationWord, reason);
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
        QString reason;
        RunWithEngine([&](PicEngine &engine) {
            done = UnprotectDevice(engine);
            reason = LastFailureReason(engine);
        });
        if (!done)
            ShowChipFailure(EngineTexts::kCommunicationError, reason);
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
        QString reason;
        RunWithEngine([&](PicEngine &engine) {
            value = ReadCalibration(engine);
            reason = LastFailureReason(engine);
        });
        // After a failed read the field keeps the value it had: nothing valid was read.
        if (!value)
            ShowChipFailure(kErrorReadingCalibration, reason);
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
        QString reason;
        const QString text = CalEdit->displayText();
        RunWithEngine([&](PicEngine &engine) {
            result = WriteCalibration(engine, text);
            reason = CalibrationWriteReason(engine);
        });
        if (result.status == CalibrationWriteResult::Status::BadText)
            m_messages.Error(result.conversionError);
        else if (result.status == CalibrationWriteResult::Status::Failed)
            ShowChipFailure(kErrorWritingCalibration, reason);
        else if (result.status == CalibrationWriteResult::Status::Written)
            ShowStatusLine(
                QStringLiteral("Calibration word %1 written").arg(FormatHex(result.word, 4)));
    });
}

void TTolmMain::BuildCalBtnClick()
{
    if (RefusedDuringChipWork(QStringLiteral("Build From Memory")))
        return;
    const CalibrationBuildResult result = BuildCalibrationFromMemory(m_image, m_currentDevice);
    if (!result.conversionError.isEmpty())
        m_messages.Error(result.conversionError);
    else
        CalEdit->setText(result.text);
}

void TTolmMain::IDCodeBtnClick()
{
    if (!m_idCodeDlg || RefusedDuringChipWork(QStringLiteral("The ID Code")))
        return;
    m_idCodeDlg->IDMaskEdit->setText(m_image.IDCodeText);
    if (m_idCodeDlg->exec() == QDialog::Accepted)
        m_image.IDCodeText = m_idCodeDlg->IDMaskEdit->text();
}
