#pragma once

#include <QString>
#include <QStringList>

class CliContext;

// A command receives its arguments with the command word(s) first, as a parser expects.
using CliCommandFunction = int (*)(CliContext &ctx, const QStringList &args);

struct CliCommand
{
    const char *name; // one or two words: "devices", "config build"
    const char *summary;
    CliCommandFunction run;
};

// Every command tolm-cli knows, in the order --help lists them.
const CliCommand *CliCommandTable(int &count);

int RunDevicesCommand(CliContext &ctx, const QStringList &args);
int RunConfigBuildCommand(CliContext &ctx, const QStringList &args);
int RunConfigDecodeCommand(CliContext &ctx, const QStringList &args);
int RunConvertCommand(CliContext &ctx, const QStringList &args);
int RunShowCommand(CliContext &ctx, const QStringList &args);
int RunProbeCommand(CliContext &ctx, const QStringList &args);
int RunIdentifyCommand(CliContext &ctx, const QStringList &args);
int RunReadCommand(CliContext &ctx, const QStringList &args);
int RunWriteCommand(CliContext &ctx, const QStringList &args);
int RunVerifyCommand(CliContext &ctx, const QStringList &args);
int RunBlankCommand(CliContext &ctx, const QStringList &args);
int RunEraseCommand(CliContext &ctx, const QStringList &args);
int RunProtectCommand(CliContext &ctx, const QStringList &args);
int RunConfigReadCommand(CliContext &ctx, const QStringList &args);
int RunConfigWriteCommand(CliContext &ctx, const QStringList &args);
int RunConfig2ReadCommand(CliContext &ctx, const QStringList &args);
int RunConfig2WriteCommand(CliContext &ctx, const QStringList &args);
int RunCalReadCommand(CliContext &ctx, const QStringList &args);
int RunCalWriteCommand(CliContext &ctx, const QStringList &args);
int RunIdReadCommand(CliContext &ctx, const QStringList &args);
int RunIdWriteCommand(CliContext &ctx, const QStringList &args);
int RunDetectCommand(CliContext &ctx, const QStringList &args);
int RunPortsCommand(CliContext &ctx, const QStringList &args);
int RunLogCommand(CliContext &ctx, const QStringList &args);
