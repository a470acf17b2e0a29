#include "cli/CliContext.h"

#include "cli/options/GlobalOptionCheck.h"
#include "device/catalogue/CatalogueInUse.h"
#include "settings/PrivateProfile.h"
#include "settings/TolmSettings.h"

#include <QRegularExpression>

CliContext::CliContext(QTextStream &outStream, QTextStream &errStream)
    : out(outStream), err(errStream)
{}

void CliContext::AddGlobalOptions(QCommandLineParser &parser)
{
    parser.addOptions({
        {{"d", "device"}, "Device, exactly as in the catalogue (16f84, 16c62A).", "NAME"},
        {{"p", "port"},
         "Module port: COM1, COM2, a device name (ttyUSB0) or a path; a comma list (up to 16) "
         "runs the command on every port at once.",
         "NAME[,NAME...]"},
        {{"m", "method"}, "Programming method: parallel or serial.", "METHOD"},
        {{"t", "targets"}, "Comma list of prog, data, config, id.", "LIST"},
        {"prog-range", "Program word range, hexadecimal (0000-03FF).", "SSSS-EEEE"},
        {"data-range", "Data range, hexadecimal (00-3F).", "SS-EE"},
        {"on-write-error", "Answer to a word that will not program: abort, ignore, retry=N.",
         "ANSWER"},
        {"trace", "Write every byte both ways to FILE, in hex.", "FILE"},
        {"log",
         "Append a row per chip to this production log: an SQLite file or a "
         "postgresql://[user@]host[:port]/dbname URI (default: TOLM_LOG, else [Production] Log "
         "in the settings file, else the bench's own file).",
         "FILE|URI"},
        {"no-log", "Keep no production log for this command."},
        {"operator", "Who works the bench, for the log's rows (default: the login name).", "NAME"},
        {"lot", "The lot being programmed, for the log's rows; log shows only its rows.", "LOT"},
        {{"q", "quiet"}, "No progress line."},
    });
}

bool CliContext::Parse(QCommandLineParser &parser, const QStringList &args, int &exitCode)
{
    parser.addHelpOption();
    if (!parser.parse(args)) {
        exitCode = UsageError(parser.errorText());
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        // Qt names the executable's path; users know the program as "tolm-cli <command>".
        QString help = parser.helpText();
        help.replace(QRegularExpression(QStringLiteral("^Usage: \\S+")),
                     QStringLiteral("Usage: ") + args.value(0));
        out << help;
        out.flush();
        exitCode = CliExit::kOk;
        return false;
    }
    m_command = &parser;
    // A misspelt value fails every command alike, not only the ones that would use it.
    if (!CheckGlobalOptionValues(*this)) {
        exitCode = CliExit::kUsage;
        return false;
    }
    return true;
}

std::optional<QString> CliContext::Value(const QString &option) const
{
    if (m_command && m_command->isSet(option))
        return m_command->value(option);
    if (m_global.isSet(option))
        return m_global.value(option);
    return std::nullopt;
}

bool CliContext::IsSet(const QString &option) const
{
    return (m_command && m_command->isSet(option)) || m_global.isSet(option);
}

QString CliContext::DeviceName() const
{
    if (const auto given = Value(QStringLiteral("device")))
        return *given;
    PrivateProfile settings(TolmSettings::SettingsFilePath());
    const QString fromSettings = settings.ReadString(
        TolmSettings::kSection, TolmSettings::kPicDeviceKey, TolmSettings::kDefaultDevice);
    // A hand-edited settings file may name something we do not know: use the default then.
    return SelectorDeviceNames().contains(fromSettings) ? fromSettings
                                                        : TolmSettings::kDefaultDevice;
}

QString CliContext::PortName() const
{
    if (const auto given = Value(QStringLiteral("port")))
        return *given;
    PrivateProfile settings(TolmSettings::SettingsFilePath());
    return settings.ReadString(TolmSettings::kSection, TolmSettings::kModulePortKey,
                               TolmSettings::kDefaultPort);
}

std::optional<DeviceRecord> CliContext::Device()
{
    const QString name = DeviceName();
    // The empty record is not a device a user can choose.
    if (!SelectorDeviceNames().contains(name)) {
        UsageError(QStringLiteral("unknown device '%1'; valid devices: %2")
                       .arg(name, ValidDeviceNamesText()));
        return std::nullopt;
    }
    return FindDevice(name);
}

int CliContext::UsageError(const QString &message)
{
    err << "tolm-cli: " << message << Qt::endl;
    return CliExit::kUsage;
}
