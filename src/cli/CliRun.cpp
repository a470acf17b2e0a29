#include "cli/CliContext.h"
#include "cli/CommandTable.h"
#include "device/catalogue/CatalogueInUse.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

QString CommandListText()
{
    QString text = QStringLiteral("\nCommands:\n");
    int count = 0;
    const CliCommand *commands = CliCommandTable(count);
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("  %1%2\n")
                    .arg(QString::fromLatin1(commands[i].name), -16)
                    .arg(QString::fromLatin1(commands[i].summary));
    return text + QStringLiteral("\n'tolm-cli COMMAND --help' describes a command.\n");
}

// The longest command name that the leading positional words spell.
const CliCommand *FindCommand(const QStringList &words, int &wordsUsed)
{
    int count = 0;
    const CliCommand *commands = CliCommandTable(count);
    const QString two = words.size() >= 2 ? words[0] + QLatin1Char(' ') + words[1] : QString();
    for (int i = 0; i < count; ++i) {
        if (!two.isEmpty() && two == QLatin1String(commands[i].name)) {
            wordsUsed = 2;
            return &commands[i];
        }
    }
    for (int i = 0; i < count; ++i) {
        if (!words.isEmpty() && words[0] == QLatin1String(commands[i].name)) {
            wordsUsed = 1;
            return &commands[i];
        }
    }
    return nullptr;
}

} // namespace

int RunCli(const QStringList &arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    CliContext ctx(out, err);

    QCommandLineParser &global = ctx.GlobalParser();
    global.setApplicationDescription(
        QStringLiteral("Programs PIC microcontrollers through the programmer module."));
    global.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    CliContext::AddGlobalOptions(global);
    global.addHelpOption();
    global.addVersionOption();
    global.addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("What to do."),
                                 QStringLiteral("COMMAND [ARGS]"));
    if (!global.parse(arguments))
        return ctx.UsageError(global.errorText());

    if (global.isSet(QStringLiteral("version"))) {
        out << "tolm-cli " << QCoreApplication::applicationVersion() << '\n';
        return CliExit::kOk;
    }

    const QStringList words = global.positionalArguments();
    const bool helpAsked = global.isSet(QStringLiteral("help"));
    if (helpAsked || words.isEmpty()) {
        // Help on request goes to stdout; help after a missing command is a usage error.
        QString help = global.helpText();
        help.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")),
                     QStringLiteral("Usage: tolm-cli"));
        (helpAsked ? out : err) << help << CommandListText();
        return helpAsked ? CliExit::kOk : CliExit::kUsage;
    }

    int wordsUsed = 0;
    const CliCommand *command = FindCommand(words, wordsUsed);
    if (!command)
        return ctx.UsageError(
            QStringLiteral("unknown command '%1'; see 'tolm-cli --help'").arg(words.join(' ')));

    // A part file that breaks a rule leaves its part out; the user hears of it on every run
    // until the file is mended, whatever the command.
    for (const CatalogueProblem &problem : CatalogueInUse().problems)
        err << "tolm-cli: warning: " << problem.Text() << " (the part is left out)" << Qt::endl;

    ctx.commandName = QString::fromLatin1(command->name);
    ctx.commandLine = arguments.mid(1);
    // The command's own parser sees "tolm-cli <command>" as its program name.
    QStringList commandArgs{QStringLiteral("tolm-cli ") + QString::fromLatin1(command->name)};
    commandArgs += words.mid(wordsUsed);
    return command->run(ctx, commandArgs);
}
