#include "cli/production/LogChoice.h"

#include "cli/CliContext.h"
#include "production/ProductionLog.h"
#include "settings/PrivateProfile.h"
#include "settings/ProductionSettings.h"
#include "settings/TolmSettings.h"

std::optional<CliLogChoice> CliProductionLog(CliContext &ctx)
{
    CliLogChoice choice;
    const auto given = ctx.Value(QStringLiteral("log"));
    choice.none = ctx.IsSet(QStringLiteral("no-log"));
    if (choice.none && given) {
        ctx.UsageError(QStringLiteral("--log and --no-log exclude each other"));
        return std::nullopt;
    }
    if (given && given->trimmed().isEmpty()) {
        ctx.UsageError(QStringLiteral("--log needs a file name or a postgresql:// URI"));
        return std::nullopt;
    }
    if (choice.none)
        return choice;
    const PrivateProfile settings(TolmSettings::SettingsFilePath());
    const QString text = ChooseLogPlaceText(
        given.value_or(QString()), qEnvironmentVariable("TOLM_LOG"),
        settings.ReadString(ProductionSettings::kSection, ProductionSettings::kLogKey, {}),
        DefaultProductionLogPath());
    QString error;
    const auto place = ParseLogPlace(text, error);
    if (!place) {
        ctx.UsageError(QStringLiteral("%1 (the log: %2)").arg(error, MaskedLogPlaceText(text)));
        return std::nullopt;
    }
    choice.place = *place;
    return choice;
}
