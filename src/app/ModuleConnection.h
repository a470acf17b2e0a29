#pragma once

#include "link/ProgrammerModule.h"
#include "link/SerialLink.h"

#include <QObject>
#include <QString>

class Messages;
class QToolButton;
class QWidget;
class TPortDlg;
struct DeviceRecord;

// The desktop program's hold on the programmer module: the port named in the settings,
// whether the module answered, the Connect button with its Port dialog, and the module
// commands over that port. The link and its messages stay in one place.
class ModuleConnection : public QObject
{
    Q_OBJECT
public:
    explicit ModuleConnection(Messages &messages, QObject *parent = nullptr);
    ~ModuleConnection() override;

    // For the toolbar.
    QWidget *ConnectButton() const;
    // The Port dialog, created after the main window.
    void SetPortDialog(TPortDlg *portDlg) { m_portDlg = portDlg; }

    // Empty until a port is chosen: a first start opens nothing.
    QString ModulePortName;
    bool ModuleConnected = false;
    // Set while a chip operation talks to the module; Connect and Release wait for its end.
    bool OperationInProgress = false;

    // Start-up: opens the port once; a failure says "COM Port Error" and start-up goes on.
    void OpenAtStartup();

    // What the Port dialog's answer asks for: Connect (open again, then the presence check),
    // Release (give the port back) or Cancel (nothing). Refused while an operation runs.
    void HandlePortChoice(int portDialogResult, Messages &messages);
    void HandlePortChoice(int portDialogResult) { HandlePortChoice(portDialogResult, m_messages); }

    // Options chose another port: the held one is given back, the new one opened and the
    // module asked whether it is there, as Connect does. A failure is shown as Connect shows
    // it; success is told by PortStatusText. The same port again changes nothing.
    void ApplyPortChoice(const QString &portName);

    // The line the status bar keeps for the port: "ttyUSB0: module answered", "COM1: cannot
    // be opened", or, with no port chosen yet, "Choose the module's port in Options".
    QString PortStatusText() const;
    // Why no chip work can go to the module, or empty when the port is open (or another line
    // stands in for it): "COM1 is not open: permission denied. Add your user to the dialout
    // group, then Connect."
    QString PortNotOpenText() const;

    // The one box for a module that stopped answering: "No answer from the module on
    // ttyUSB0. Is it plugged in and powered? The port can be changed in Options."
    QString NoAnswerText() const;
    // The last chip work ended because the module stopped answering (or the port went away).
    bool ModuleFellSilent() const;

    // Chip work has talked to the module: whether it answered is kept for the status line.
    // Call MarkExchangesStart before the work and NoteWorkEnded after it.
    void MarkExchangesStart() { m_readsBefore = m_route.bytesRead; }
    void NoteWorkEnded();

    // Whether the module suits the device; true (after its message) means stop.
    bool IncorrectModule(const DeviceRecord &device);

    // The name the held port was opened with (Options may have named another since), or
    // empty when no port is held.
    QString HeldPortName() const;

    ProgrammerModule &Module() { return m_module; }
    SerialLink &Link() { return m_link; }

    // Puts another line behind the module commands (the in-process simulator in tests);
    // nullptr goes back to the serial port.
    void UseChannel(ByteChannel *channel) { m_route.target = channel ? channel : &m_link; }

public slots:
    // The Port dialog: Connect, Release or Cancel for the port named in ModulePortName.
    void ConnectBtnClick();

signals:
    // The port, or whether the module answered, changed: the status line follows.
    void StateChanged();

private:
    void ShowStateInHint();
    // Opens the port and asks for the module; false after the failure has been shown.
    bool OpenAndCheck(Messages &messages);
    void Connect(Messages &messages);
    void Release(Messages &messages);
    // Opens ModulePortName; a failure says "COM Port Error" with the reason and gives the
    // detail text, empty on success.
    QString Open(Messages &messages);

    // Passes every byte to the line in use.
    struct ChannelRoute : ByteChannel
    {
        explicit ChannelRoute(ByteChannel &line) : target(&line) {}
        ByteChannel *target;
        long long bytesRead = 0; // that arrived, since the program started
        bool WriteByte(std::uint8_t byte) override { return target->WriteByte(byte); }
        std::optional<std::uint8_t> ReadByte() override
        {
            const auto byte = target->ReadByte();
            bytesRead += byte ? 1 : 0;
            return byte;
        }
    };
    enum class Answer { NotAsked, Answered, Silent };

    Messages &m_messages;
    TPortDlg *m_portDlg = nullptr;
    QToolButton *ConnectBtn = nullptr;
    SerialLink m_link;
    ChannelRoute m_route{m_link};
    ProgrammerModule m_module{m_route};
    QString m_openedPortName;
    Answer m_answer = Answer::NotAsked;
    long long m_readsBefore = 0;
};
