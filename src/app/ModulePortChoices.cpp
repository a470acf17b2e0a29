#include "ModulePortChoices.h"

#include "link/PortName.h"

#include <QSerialPortInfo>
#include <algorithm>

QList<SystemPort> SystemSerialPorts()
{
    QList<SystemPort> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        ports.append({info.portName(), info.description()});
    std::sort(ports.begin(), ports.end(),
              [](const SystemPort &a, const SystemPort &b) { return a.name < b.name; });
    return ports;
}

QList<PortChoice> ModulePortChoices(const QList<SystemPort> &systemPorts,
                                    const QString &currentName, const QStringList &typedNames)
{
    QList<PortChoice> choices{{QStringLiteral("COM1"), QStringLiteral("COM1")},
                              {QStringLiteral("COM2"), QStringLiteral("COM2")}};
    const auto sameDevice = [&choices](const QString &name) {
        const QString location = ModulePortSystemLocation(name);
        return std::any_of(choices.cbegin(), choices.cend(), [&](const PortChoice &c) {
            return ModulePortSystemLocation(c.name) == location;
        });
    };
    for (const SystemPort &port : systemPorts) {
        if (sameDevice(port.name))
            continue;
        const QString label = port.description.isEmpty()
                                  ? port.name
                                  : QStringLiteral("%1 - %2").arg(port.name, port.description);
        choices.append({port.name, label});
    }
    for (const QString &typed : typedNames) {
        if (!typed.isEmpty() && !sameDevice(typed))
            choices.append({typed, typed});
    }
    const bool listed = std::any_of(choices.cbegin(), choices.cend(),
                                    [&](const PortChoice &c) { return c.name == currentName; });
    if (!currentName.isEmpty() && !listed)
        choices.append({currentName, currentName});
    return choices;
}
