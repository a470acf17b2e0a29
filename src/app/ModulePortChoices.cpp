#include "ModulePortChoices.h"

#include "link/PortName.h"

#include <QFileInfo>
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

QStringList ExistingComPorts()
{
    QStringList ports;
    for (const QString &com : {QStringLiteral("COM1"), QStringLiteral("COM2")}) {
        if (QFileInfo::exists(ModulePortSystemLocation(com)))
            ports << com;
    }
    return ports;
}

QList<PortChoice> ModulePortChoices(const QList<SystemPort> &systemPorts,
                                    const QString &currentName, const QStringList &typedNames,
                                    const QStringList &comPorts)
{
    QList<PortChoice> choices;
    for (const QString &com : {QStringLiteral("COM1"), QStringLiteral("COM2")}) {
        if (comPorts.contains(com))
            choices.append({com, com});
    }
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
            choices.append({typed, typed, true});
    }
    const bool listed = std::any_of(choices.cbegin(), choices.cend(),
                                    [&](const PortChoice &c) { return c.name == currentName; });
    if (!currentName.isEmpty() && !listed)
        choices.append({currentName, currentName});
    return choices;
}
