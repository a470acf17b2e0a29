#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class CliContext;

// -p takes one port or a comma list of them; a bench drives each module at once.
constexpr int kMaxPorts = 16;

// The ports of "ttyUSB0,ttyUSB1,...": each item trimmed. Nothing, with `error` saying why,
// for an empty item, more than kMaxPorts ports, or two names for the same port (two threads
// on one module would mix their bytes on the wire).
std::optional<QStringList> ParsePortList(const QString &text, QString &error);

// -p (or the settings file's port) as a list; a bad list is a usage error, reported here.
std::optional<QStringList> CliPortList(CliContext &ctx);

// What tells one port's file from another's when a command that writes a file runs on
// several ports: the port name without "/dev/", every character other than letters, digits,
// '.', '_' and '-' replaced by '_' ("ttyUSB0", "tmp_bench_module").
QString PortFileSuffix(const QString &port);

// `path` with the port's suffix before its extension: "board.hex" on ttyUSB0 becomes
// "board-ttyUSB0.hex"; a name without an extension gets the suffix at its end.
QString PerPortPath(const QString &path, const QString &port);
