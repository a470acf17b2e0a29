#include "CommandLine.h"

#include "Version.h"

#include <QTextStream>

namespace {

const char *const kHelpText =
    "Usage: tolm [--help] [--version] [FILE]\n"
    "\n"
    "Tolm programs PIC microcontrollers through a programmer module on a serial port.\n"
    "It starts its window; the device, the module port and the working directory come\n"
    "from VIRIVI.INI in the configuration folder ($XDG_CONFIG_HOME, else ~/.config)\n"
    "and are changed in the Options dialog. Scripts use tolm-cli.\n"
    "\n"
    "  FILE           an Intel HEX file to load at start, with every target the\n"
    "                 device has ticked (program memory, data memory, configuration\n"
    "                 word, ID code)\n"
    "  -h, --help     show this text and end\n"
    "  -v, --version  show the version and end\n";

} // namespace

std::optional<int> AnswerInformationRequest(const QStringList &arguments, QTextStream &out)
{
    // The first argument is the program's own name.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == QStringLiteral("--"))
            break;
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            out << kHelpText;
            return 0;
        }
        if (argument == QStringLiteral("--version") || argument == QStringLiteral("-v")) {
            out << "Tolm " << kVersionText << "\n";
            return 0;
        }
    }
    return std::nullopt;
}

QString FileArgument(const QStringList &arguments)
{
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (!optionsEnded && argument == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')))
            return argument;
    }
    return {};
}
