#pragma once

#include "device/DeviceRecord.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

// Exit codes every command keeps to, so scripts can tell failures apart.
namespace CliExit {
constexpr int kOk = 0;
constexpr int kFailed = 1;    // the operation failed: chip error, verify difference, not blank
constexpr int kUsage = 2;     // bad command line
constexpr int kFileError = 3; // a file cannot be read or written
constexpr int kPortError = 4; // the port cannot be opened or the module does not answer
} // namespace CliExit

// What every command shares: the global options, the resolved device and the two streams.
// Results go to `out`, one fact a line; messages, warnings and progress go to `err`.
class CliContext
{
public:
    CliContext(QTextStream &out, QTextStream &err);

    QTextStream &out;
    QTextStream &err;
    // The running command as given, for the production log: its name ("config write") and
    // every argument after the program name.
    QString commandName;
    QStringList commandLine;

    // Adds the global options (-d, -p, -m, -t, ranges, ...) to a parser; commands add them
    // to their own parser so the options may stand before or after the command.
    static void AddGlobalOptions(QCommandLineParser &parser);

    // Parses a command's arguments (the command words first) with the global options and
    // the command's own; prints help and usage errors itself. False means: stop with
    // `exitCode`.
    bool Parse(QCommandLineParser &parser, const QStringList &args, int &exitCode);

    // Options as given, or their defaults.
    QString DeviceName() const;
    QString PortName() const;
    std::optional<QString> Value(const QString &option) const;
    bool IsSet(const QString &option) const;

    // The selected device; on an unknown name prints the valid names and gives nothing.
    std::optional<DeviceRecord> Device();

    // Reports a usage error on stderr and gives the usage exit code.
    int UsageError(const QString &message);

    // The parser of the options before the command word.
    QCommandLineParser &GlobalParser() { return m_global; }

private:
    const QCommandLineParser *m_command = nullptr; // the running command's own parser
    QCommandLineParser m_global;
};

// Runs tolm-cli with its whole argument list (program name first); gives the exit code.
int RunCli(const QStringList &arguments);
