#include "DirectCommands.h"

#include "ChipOperations.h"
#include "ConfigurationPart.h"
#include "ControlFactory.h"
#include "Iddlg.h"
#include "ModuleConnection.h"
#include "device/DeviceRecord.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "engine/ChipCommands.h"
#include "engine/DeviceId.h"
#include "engine/EngineTexts.h"
#include "engine/PicEngine.h"
#include "ops/Messages.h"
#include "texts/FailureTexts.h"

#include <QLineEdit>
#include <QToolButton>

DirectCommands::DirectCommands(const Parts &parts, QObject *parent)
    : QObject(parent), m_parts(parts)
{
    setObjectName(QStringLiteral("DirectCommands"));
    BuildControls();
}

void DirectCommands::BuildControls()
{
    ProtectBtn =
        GlyphButton("ProtectBtn", QStringLiteral("All Code Protect"), QStringLiteral("protect"));
    UnProtectBtn =
        GlyphButton("UnProtectBtn", QStringLiteral("Unprotect 16x8x"), QStringLiteral("unprotect"));
    IDCodeBtn = GlyphButton("IDCodeBtn", QStringLiteral("ID Code"), QStringLiteral("id-code"));
    ConfigReadBtn = GlyphButton("ConfigReadBtn", QStringLiteral("Read Configuration Word Directly"),
                                QStringLiteral("config-read"));
    ConfigWriteBtn =
        GlyphButton("ConfigWriteBtn", QStringLiteral("Write Configuration Word Directly"),
                    QStringLiteral("config-write"));
    ReadCalBtn = GlyphButton("ReadCalBtn", QStringLiteral("Read Oscillator Calibration"),
                             QStringLiteral("cal-read"));
    WriteCalBtn = GlyphButton("WriteCalBtn", QStringLiteral("Write Oscillator Calibration"),
                              QStringLiteral("cal-write"));
    BuildCalBtn = GlyphButton("BuildCalBtn", QStringLiteral("Build From Memory"),
                              QStringLiteral("cal-build"));
    DetectBtn = GlyphButton("DetectBtn", QStringLiteral("Detect the device in the socket"),
                            QStringLiteral("detect"));

    const std::pair<QToolButton *, void (DirectCommands::*)()> handlers[] = {
        {ProtectBtn, &DirectCommands::ProtectBtnClick},
        {UnProtectBtn, &DirectCommands::UnProtectBtnClick},
        {IDCodeBtn, &DirectCommands::IDCodeBtnClick},
        {ConfigReadBtn, &DirectCommands::ConfigReadBtnClick},
        {ConfigWriteBtn, &DirectCommands::ConfigWriteBtnClick},
        {ReadCalBtn, &DirectCommands::ReadCalBtnClick},
        {WriteCalBtn, &DirectCommands::WriteCalBtnClick},
        {BuildCalBtn, &DirectCommands::BuildCalBtnClick},
        {DetectBtn, &DirectCommands::DetectBtnClick},
    };
    for (const auto &[button, handler] : handlers)
        connect(button, &QToolButton::clicked, this, handler);
}

QList<QWidget *> DirectCommands::ProgrammingButtons() const
{
    return {ProtectBtn, UnProtectBtn, IDCodeBtn};
}

QList<QWidget *> DirectCommands::DirectAccessButtons() const
{
    return {ConfigReadBtn, ConfigWriteBtn};
}

QList<QWidget *> DirectCommands::CalibrationButtons() const
{
    return {ReadCalBtn, WriteCalBtn, BuildCalBtn};
}

QWidget *DirectCommands::DetectButton() const
{
    return DetectBtn;
}

void DirectCommands::AdaptToDevice()
{
    ProtectBtn->setEnabled(!m_parts.device.NoConfigWord);
    UnProtectBtn->setEnabled(m_parts.device.HasDataMemory);
    DetectBtn->setEnabled(HasDeviceId(m_parts.device));
}

void DirectCommands::SetChipWorkRunning(bool running)
{
    DetectBtn->setEnabled(!running && HasDeviceId(m_parts.device));
}

bool DirectCommands::Idle() const
{
    return !m_parts.operations.Busy();
}

bool DirectCommands::Confirmed(const QString &text)
{
    // A closed port is said at once, before the question: nothing could be sent.
    return !m_parts.operations.RefusedForThePort() && m_parts.messages.ConfirmChipCommand(text);
}

void DirectCommands::ConfigReadBtnClick()
{
    if (!Idle() || !Confirmed(QStringLiteral("Read Configuration Word Directly ! Proceed?")))
        return;
    ChipOperations &operations = m_parts.operations;
    operations.RunHandler([&] {
        std::optional<std::uint16_t> word;
        QString reason;
        operations.RunWithEngine([&](PicEngine &engine) {
            word = ReadConfigDirectly(engine);
            reason = LastFailureReason(engine);
        });
        if (!word) {
            operations.ShowChipFailure(kErrorReadingConfiguration, reason);
            return;
        }
        // Only the field: the image's configuration word and the option controls stay.
        m_parts.config.ShowDirectValue(*word);
    });
}

void DirectCommands::ConfigWriteBtnClick()
{
    if (!Idle() || !Confirmed(QStringLiteral("Write Configuration Word Directly! Proceed?")))
        return;
    ChipOperations &operations = m_parts.operations;
    operations.RunHandler([&] {
        DirectWriteResult result;
        QString reason;
        // As shown, so that a blank position fails to convert and nothing is sent.
        const QString text = m_parts.config.DirectText();
        operations.RunWithEngine([&](PicEngine &engine) {
            result = WriteConfigDirectly(engine, text);
            reason = LastFailureReason(engine);
        });
        if (!result.conversionError.isEmpty())
            m_parts.messages.Error(result.conversionError);
        else if (result.tooWide)
            m_parts.messages.Error(EngineTexts::ConfigTooWideText(*result.value, m_parts.device));
        else if (!result.written)
            operations.ShowChipFailure(kErrorWritingConfiguration, reason);
        else
            emit StatusText(QStringLiteral("Configuration word %1 written")
                                .arg(FormatHex(result.value.value_or(0), 4)));
    });
}

void DirectCommands::ProtectBtnClick()
{
    ChipOperations &operations = m_parts.operations;
    if (!Idle() || operations.RefusedForThePort() ||
        m_parts.module.IncorrectModule(m_parts.device) ||
        !Confirmed(QStringLiteral("This Process will Code Protect All the Device! Proceed?")))
        return;
    operations.RunHandler([&] {
        ProtectResult result;
        QString reason;
        const ConfigControls current = m_parts.config.ReadConfigControls();
        operations.RunWithEngine([&](PicEngine &engine) {
            result = AllCodeProtect(engine, current);
            reason = LastFailureReason(engine);
        });
        if (result.stage == ProtectResult::Stage::ReadFailed) {
            operations.ShowChipFailure(kErrorReadingConfiguration, reason);
            return;
        }
        // The controls show the chip's configuration as read, before protection.
        m_parts.config.WriteConfigControls(result.controls);
        emit ShowProgrammingPage();
        if (result.stage == ProtectResult::Stage::WriteFailed)
            operations.ShowChipFailure(kErrorWritingConfigurationWord, reason);
        else
            emit StatusText(QStringLiteral("Code protected: configuration word %1 programmed")
                                .arg(FormatHex(result.programmedWord, 4)));
    });
}

void DirectCommands::UnProtectBtnClick()
{
    if (!Idle() ||
        !Confirmed(QStringLiteral("This Process will Unprotect and Erase the Device! Proceed?")))
        return;
    ChipOperations &operations = m_parts.operations;
    operations.RunHandler([&] {
        bool done = false;
        QString reason;
        operations.RunWithEngine([&](PicEngine &engine) {
            done = UnprotectDevice(engine);
            reason = LastFailureReason(engine);
        });
        if (!done)
            operations.ShowChipFailure(EngineTexts::kCommunicationError, reason);
        else
            emit StatusText(QStringLiteral("Unprotected and erased"));
    });
}

void DirectCommands::ReadCalBtnClick()
{
    if (!Idle() || !Confirmed(QStringLiteral("Read Oscillator Calibration?")))
        return;
    ChipOperations &operations = m_parts.operations;
    operations.RunHandler([&] {
        std::optional<std::uint8_t> value;
        QString reason;
        operations.RunWithEngine([&](PicEngine &engine) {
            value = ReadCalibration(engine);
            reason = LastFailureReason(engine);
        });
        // After a failed read the field keeps the value it had: nothing valid was read.
        if (!value)
            operations.ShowChipFailure(kErrorReadingCalibration, reason);
        else
            m_parts.config.ShowCalibrationText(FormatHex(*value, 2));
    });
}

void DirectCommands::WriteCalBtnClick()
{
    if (!Idle() || !Confirmed(QStringLiteral("Write Oscillator Calibration?")))
        return;
    ChipOperations &operations = m_parts.operations;
    operations.RunHandler([&] {
        CalibrationWriteResult result;
        QString reason;
        const QString text = m_parts.config.CalibrationText();
        operations.RunWithEngine([&](PicEngine &engine) {
            result = WriteCalibration(engine, text);
            reason = CalibrationWriteReason(engine);
        });
        if (result.status == CalibrationWriteResult::Status::BadText)
            m_parts.messages.Error(result.conversionError);
        else if (result.status == CalibrationWriteResult::Status::Failed)
            operations.ShowChipFailure(kErrorWritingCalibration, reason);
        else if (result.status == CalibrationWriteResult::Status::Written)
            emit StatusText(
                QStringLiteral("Calibration word %1 written").arg(FormatHex(result.word, 4)));
    });
}

void DirectCommands::BuildCalBtnClick()
{
    // The image only, no chip access; but chip work may be filling the image.
    if (!Idle())
        return;
    const CalibrationBuildResult result = BuildCalibrationFromMemory(m_parts.image, m_parts.device);
    if (!result.conversionError.isEmpty())
        m_parts.messages.Error(result.conversionError);
    else
        m_parts.config.ShowCalibrationText(result.text);
}

void DirectCommands::IDCodeBtnClick()
{
    if (!m_idCodeDlg || !Idle())
        return;
    m_idCodeDlg->IDMaskEdit->setText(m_parts.image.IDCodeText);
    if (m_idCodeDlg->exec() == QDialog::Accepted)
        m_parts.image.IDCodeText = m_idCodeDlg->IDMaskEdit->text();
}
