#include "DirectCommands.h"

#include "DetectCommand.h"

#include "ChipOperations.h"
#include "ConfigurationPart.h"
#include "ControlFactory.h"
#include "Iddlg.h"
#include "ModuleConnection.h"
#include "device/DeviceRecord.h"
#include "device/DeviceRules.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"
#include "engine/ChipCommands.h"
#include "engine/DeviceId.h"
#include "engine/PicEngine.h"
#include "ops/Messages.h"
#include "texts/ChipTexts.h"
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
    DetectBtn->setEnabled(DeviceIdReader(m_parts.device).has_value());
}

void DirectCommands::SetChipWorkRunning(bool running)
{
    DetectBtn->setEnabled(!running && DeviceIdReader(m_parts.device).has_value());
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
        std::optional<ChipResult<std::uint16_t>> word;
        operations.RunWithEngine([&](PicEngine &engine) { word = ReadConfigDirectly(engine); });
        if (!*word) {
            operations.ShowChipFailure(kErrorReadingConfiguration, word->Failure());
            return;
        }
        // Only the field: the image's configuration word and the option controls stay.
        m_parts.config.ShowDirectValue(**word);
    });
}

void DirectCommands::ConfigWriteBtnClick()
{
    if (!Idle() || !Confirmed(QStringLiteral("Write Configuration Word Directly! Proceed?")))
        return;
    ChipOperations &operations = m_parts.operations;
    operations.RunHandler([&] {
        // As shown, so that a blank position fails to convert and nothing is sent.
        const QString text = m_parts.config.DirectText();
        const auto value = ParseHexText(text);
        if (!value) {
            m_parts.messages.Error(InvalidHexMessage(text));
            return;
        }
        if (*value & ~std::uint32_t{ConfigWordMask(m_parts.device)}) {
            m_parts.messages.Error(ConfigTooWideText(*value, m_parts.device));
            return;
        }
        const auto word = static_cast<std::uint16_t>(*value);
        operations.Warnings().BeforeWrite(m_parts.device);
        if (!operations.Warnings().ConfigWriteAllowed(m_parts.device, word))
            return;
        std::optional<ChipResult<NoValue>> written;
        operations.RunWithEngine([&](PicEngine &engine) { written = engine.PicWriteConfig(word); });
        if (!*written)
            operations.ShowChipFailure(kErrorWritingConfiguration, written->Failure());
        else
            emit StatusText(
                QStringLiteral("Configuration word %1 written").arg(FormatHex(word, 4)));
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
        operations.Warnings().BeforeWrite(m_parts.device);
        const ConfigControls current = m_parts.config.ReadConfigControls();
        std::optional<ChipResult<ProtectPlan>> plan;
        std::optional<ChipResult<NoValue>> written;
        operations.RunWithEngine([&](PicEngine &engine) {
            plan = PlanAllCodeProtect(engine, current);
            if (*plan)
                written = engine.PicWriteConfig((*plan)->programmedWord);
        });
        if (!*plan) {
            operations.ShowChipFailure(kErrorReadingConfiguration, plan->Failure());
            return;
        }
        // The controls show the chip's configuration as read, before protection.
        m_parts.config.WriteConfigControls((*plan)->controls);
        emit ShowProgrammingPage();
        if (!*written)
            operations.ShowChipFailure(kErrorWritingConfigurationWord, written->Failure());
        else
            emit StatusText(QStringLiteral("Code protected: configuration word %1 programmed")
                                .arg(FormatHex((*plan)->programmedWord, 4)));
    });
}

void DirectCommands::UnProtectBtnClick()
{
    if (!Idle() ||
        !Confirmed(QStringLiteral("This Process will Unprotect and Erase the Device! Proceed?")))
        return;
    ChipOperations &operations = m_parts.operations;
    operations.RunHandler([&] {
        operations.Warnings().BeforeWrite(m_parts.device);
        std::optional<ChipResult<NoValue>> erased;
        operations.RunWithEngine([&](PicEngine &engine) { erased = UnprotectDevice(engine); });
        if (!*erased)
            operations.ShowChipFailure(kCommunicationError, erased->Failure());
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
        std::optional<ChipResult<std::uint8_t>> value;
        operations.RunWithEngine([&](PicEngine &engine) { value = ReadCalibration(engine); });
        // After a failed read the field keeps the value it had: nothing valid was read.
        if (!*value)
            operations.ShowChipFailure(kErrorReadingCalibration, value->Failure());
        else
            m_parts.config.ShowCalibrationText(FormatHex(**value, 2));
    });
}

void DirectCommands::WriteCalBtnClick()
{
    if (!Idle() || !Confirmed(QStringLiteral("Write Oscillator Calibration?")))
        return;
    ChipOperations &operations = m_parts.operations;
    operations.RunHandler([&] {
        // A device without a calibration word sends and shows nothing.
        if (!CalibrationAddress(m_parts.device))
            return;
        const QString text = m_parts.config.CalibrationText();
        const auto value = ParseHexText(text);
        if (!value) {
            m_parts.messages.Error(InvalidHexMessage(text));
            return;
        }
        // The field holds two digits: the value is a byte.
        operations.Warnings().BeforeWrite(m_parts.device);
        const auto instruction =
            *CalibrationInstruction(m_parts.device, static_cast<std::uint8_t>(*value));
        std::optional<ChipResult<NoValue>> written;
        operations.RunWithEngine(
            [&](PicEngine &engine) { written = WriteCalibration(engine, instruction); });
        if (!*written)
            operations.ShowChipFailure(kErrorWritingCalibration, written->Failure(),
                                       CalibrationWriteReason(written->Failure()));
        else
            emit StatusText(
                QStringLiteral("Calibration word %1 written").arg(FormatHex(instruction, 4)));
    });
}

void DirectCommands::BuildCalBtnClick()
{
    // The image only, no chip access; but chip work may be filling the image.
    if (!Idle())
        return;
    const ImageCalibration calibration = CalibrationInImage(m_parts.image, m_parts.device);
    if (!calibration.byte)
        m_parts.messages.Error(InvalidHexMessage(calibration.cellText));
    else
        m_parts.config.ShowCalibrationText(FormatHex(*calibration.byte, 2));
}

void DirectCommands::IDCodeBtnClick()
{
    if (!m_idCodeDlg || !Idle())
        return;
    m_idCodeDlg->IDMaskEdit->setText(m_parts.image.IDCodeText);
    if (m_idCodeDlg->exec() == QDialog::Accepted)
        m_parts.image.IDCodeText = m_idCodeDlg->IDMaskEdit->text();
}
