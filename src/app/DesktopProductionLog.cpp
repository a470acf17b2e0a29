#include "DesktopProductionLog.h"

#include "production/LogPlace.h"
#include "production/ProductionLog.h"
#include "production/ProductionRecorder.h"
#include "settings/PrivateProfile.h"
#include "settings/ProductionSettings.h"

#include <QCoreApplication>

DesktopProductionLog::DesktopProductionLog(QString settingsPath)
    : m_settingsPath(std::move(settingsPath))
{}

DesktopProductionLog::~DesktopProductionLog() = default;

QString DesktopProductionLog::Record(const DesktopRun &run)
{
    const PrivateProfile settings(m_settingsPath);
    const QStringList values =
        settings.ReadStrings(ProductionSettings::kSection,
                             {ProductionSettings::kDesktopLogKey, ProductionSettings::kLogKey}, {});
    if (values.value(0) != QLatin1String("1"))
        return {};
    const QString text = ChooseLogPlaceText({}, qEnvironmentVariable("TOLM_LOG"), values.value(1),
                                            DefaultProductionLogPath());
    if (!m_recorder || text != m_placeText) {
        QString error;
        const auto place = ParseLogPlace(text, error);
        if (!place)
            return QStringLiteral("Production log: %1").arg(error);
        auto recorder = std::make_unique<ProductionRecorder>(*place, BenchDataFolder());
        const ProductionRecorder::Readiness readiness = recorder->Prepare();
        if (readiness.refusal)
            return QStringLiteral("Production log: this chip is not recorded in %1: %2")
                .arg(place->Shown(), *readiness.refusal);
        m_recorder = std::move(recorder);
        m_placeText = text;
    }
    const BenchFacts bench =
        CurrentBenchFacts({}, {}, QStringLiteral("tolm ") + QCoreApplication::applicationVersion());
    const ProductionRecorder::Appended appended =
        m_recorder->Append(DesktopProductionRow(bench, run));
    switch (appended.outcome) {
    case ProductionRecorder::Outcome::Logged:
        return {};
    case ProductionRecorder::Outcome::Kept:
        return QStringLiteral("Production log: ") + KeptRowsText(m_recorder->Waiting());
    case ProductionRecorder::Outcome::Lost:
        break;
    }
    // Made ready again next time: the file may have been mended or the server changed.
    const QString shown = m_recorder->Place().Shown();
    m_recorder.reset();
    return QStringLiteral("Production log: this chip is not recorded in %1: %2")
        .arg(shown, appended.reason);
}
