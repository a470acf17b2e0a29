#include "ModuleConnection.h"

#include "PortConU.h"
#include "PortProblem.h"
#include "device/DeviceRecord.h"
#include "link/ModuleCheck.h"
#include "ops/Messages.h"

namespace {
const QString kPortErrorText = QStringLiteral("COM Port Error");
}

ModuleConnection::ModuleConnection() = default;

void ModuleConnection::OpenAtStartup(Messages &messages)
{
    Open(messages);
}

QString ModuleConnection::Open(Messages &messages)
{
    m_openedPortName = ModulePortName;
    if (m_link.OpenModulePort(ModulePortName))
        return {};
    const QString detail = OpenFailureDetail(ModulePortName, m_link);
    messages.PlainWithDetail(kPortErrorText, detail);
    return detail;
}

QString ModuleConnection::HeldPortName() const
{
    return m_link.State() == PortState::Held ? m_openedPortName : QString();
}

void ModuleConnection::HandlePortChoice(int portDialogResult, Messages &messages)
{
    // A second conversation with the module in the middle of an operation would garble both.
    if (OperationInProgress)
        return;
    if (portDialogResult == TPortDlg::kConnectResult)
        Connect(messages);
    else if (portDialogResult == TPortDlg::kReleaseResult)
        Release(messages);
}

void ModuleConnection::Connect(Messages &messages)
{
    const QString openFailure = Open(messages);
    // The presence check runs even after a failed open: it then fails at once and the user
    // sees both messages, which tells a missing port from a silent module.
    ModuleConnected = ModulePresent(m_module);
    if (ModuleConnected) {
        messages.Plain(QString::fromLatin1(kModuleConnectedText));
        return;
    }
    messages.PlainWithDetail(QString::fromLatin1(kModuleNotConnectedText),
                             openFailure.isEmpty() ? NoAnswerDetail(ModulePortName) : openFailure);
}

void ModuleConnection::Release(Messages &messages)
{
    m_link.CloseModulePort();
    messages.Plain(ModulePortName + QStringLiteral(" Released !... "));
}

bool ModuleConnection::IncorrectModule(const DeviceRecord &device, Messages &messages)
{
    const ModuleSuitability suitability =
        CheckModuleForDevice(device.HasMemoryParity != 0, m_module);
    if (suitability == ModuleSuitability::Suitable)
        return false;
    messages.Plain(QString::fromLatin1(ModuleSuitabilityMessage(suitability)));
    return true;
}
