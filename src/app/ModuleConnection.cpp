#include "ModuleConnection.h"

#include "ControlFactory.h"
#include "PortConU.h"
#include "PortProblem.h"
#include "device/DeviceRecord.h"
#include "link/ModuleCheck.h"
#include "ops/Messages.h"

#include <QToolButton>

namespace {
const QString kPortErrorText = QStringLiteral("COM Port Error");
}

ModuleConnection::ModuleConnection(Messages &messages, QObject *parent)
    : QObject(parent), m_messages(messages)
{
    setObjectName(QStringLiteral("ModuleConnection"));
    ConnectBtn = GlyphButton("ConnectBtn", QStringLiteral("Connect"), QStringLiteral("connect"));
    connect(ConnectBtn, &QToolButton::clicked, this, &ModuleConnection::ConnectBtnClick);
    connect(this, &ModuleConnection::StateChanged, this, &ModuleConnection::ShowStateInHint);
    ShowStateInHint();
}

ModuleConnection::~ModuleConnection() = default;

QWidget *ModuleConnection::ConnectButton() const
{
    return ConnectBtn;
}

void ModuleConnection::OpenAtStartup()
{
    // No port chosen yet (a first start): nothing is opened, and the status line asks for one.
    if (!ModulePortName.isEmpty())
        Open(m_messages);
    emit StateChanged();
}

void ModuleConnection::ConnectBtnClick()
{
    if (!m_portDlg || OperationInProgress)
        return;
    m_portDlg->SetPortName(ModulePortName);
    HandlePortChoice(m_portDlg->exec());
}

void ModuleConnection::ShowStateInHint()
{
    const QString held = HeldPortName();
    const QString state = held.isEmpty()
                              ? QStringLiteral("No port held")
                              : QStringLiteral("Holds port %1").arg(PortDisplayName(held));
    ConnectBtn->setToolTip(QStringLiteral("Connect\n") + state);
    ConnectBtn->setAccessibleDescription(state);
}

QString ModuleConnection::Open(Messages &messages)
{
    m_openedPortName = ModulePortName;
    m_answer = Answer::NotAsked;
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
    emit StateChanged();
}

bool ModuleConnection::OpenAndCheck(Messages &messages)
{
    const QString openFailure = Open(messages);
    // The presence check runs even after a failed open: it then fails at once and the user
    // sees both messages, which tells a missing port from a silent module.
    ModuleConnected = ModulePresent(m_module);
    m_answer = ModuleConnected ? Answer::Answered : Answer::Silent;
    if (!ModuleConnected)
        messages.PlainWithDetail(QString::fromLatin1(kModuleNotConnectedText),
                                 openFailure.isEmpty() ? NoAnswerDetail(ModulePortName)
                                                       : openFailure);
    return ModuleConnected;
}

void ModuleConnection::Connect(Messages &messages)
{
    if (ModulePortName.isEmpty()) {
        messages.Plain(PortNotOpenText());
        return;
    }
    if (OpenAndCheck(messages))
        messages.Plain(QString::fromLatin1(kModuleConnectedText));
}

void ModuleConnection::ApplyPortChoice(const QString &portName)
{
    if (OperationInProgress || portName == ModulePortName)
        return;
    m_link.CloseModulePort();
    ModuleConnected = false;
    ModulePortName = portName;
    m_answer = Answer::NotAsked;
    if (!portName.isEmpty())
        OpenAndCheck(m_messages);
    emit StateChanged();
}

void ModuleConnection::NoteWorkEnded()
{
    if (ModuleFellSilent())
        m_answer = Answer::Silent;
    else if (m_route.bytesRead > m_readsBefore)
        m_answer = Answer::Answered;
    ModuleConnected = m_answer == Answer::Answered;
    emit StateChanged();
}

QString ModuleConnection::PortStatusText() const
{
    if (ModulePortName.isEmpty())
        return QStringLiteral("Choose the module's port in Options");
    switch (m_link.State()) {
    case PortState::NoPort:
        return QStringLiteral("%1: not open").arg(ModulePortName);
    case PortState::OpenFailed:
        return QStringLiteral("%1: cannot be opened").arg(ModulePortName);
    case PortState::Held:
        break;
    }
    switch (m_answer) {
    case Answer::Answered:
        return QStringLiteral("%1: module answered").arg(m_openedPortName);
    case Answer::Silent:
        return QStringLiteral("%1: module not answering").arg(m_openedPortName);
    case Answer::NotAsked:
        break;
    }
    return QStringLiteral("%1: open").arg(m_openedPortName);
}

QString ModuleConnection::NoAnswerText() const
{
    const QString on = m_route.target == &m_link && !m_openedPortName.isEmpty()
                           ? QStringLiteral(" on %1").arg(m_openedPortName)
                           : QString();
    return QStringLiteral("No answer from the module%1. Is it plugged in and powered? The port "
                          "can be changed in Options.")
        .arg(on);
}

bool ModuleConnection::ModuleFellSilent() const
{
    const auto &failure = m_module.FirstFailure();
    return failure && failure->ModuleSilent();
}

QString ModuleConnection::PortNotOpenText() const
{
    if (m_route.target != &m_link || m_link.State() == PortState::Held)
        return {};
    if (ModulePortName.isEmpty())
        return QStringLiteral("No port is chosen for the module. Choose the module's port in "
                              "Options.");
    return QStringLiteral("%1 is not open: %2")
        .arg(ModulePortName, NotOpenReason(ModulePortName, m_link));
}

void ModuleConnection::Release(Messages &messages)
{
    m_link.CloseModulePort();
    m_answer = Answer::NotAsked;
    messages.Plain(ModulePortName + QStringLiteral(" Released !... "));
}

bool ModuleConnection::IncorrectModule(const DeviceRecord &device)
{
    Messages &messages = m_messages;
    const ModuleSuitability suitability =
        CheckModuleForDevice(device.HasMemoryParity != 0, m_module);
    if (suitability == ModuleSuitability::Suitable)
        return false;
    messages.Plain(QString::fromLatin1(ModuleSuitabilityMessage(suitability)));
    return true;
}
