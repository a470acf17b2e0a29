#include "ProductionLogBox.h"

#include "ControlFactory.h"
#include "production/LogPlace.h"
#include "production/ProductionLog.h"
#include "settings/PrivateProfile.h"
#include "settings/ProductionSettings.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QVBoxLayout>

ProductionLogBox::ProductionLogBox(QWidget *parent)
    : QGroupBox(QStringLiteral("Production log"), parent)
{
    setObjectName(QStringLiteral("ProductionLogBox"));
    ProductionLogCbx =
        Named(new QCheckBox(QStringLiteral("Log each &chip"), this), "ProductionLogCbx");
    ProductionLogCbx->setToolTip(QStringLiteral(
        "Add a row to the production log for each Write, Verify, Read and Blank Check, as "
        "tolm-cli does on a bench."));
    ProductionLogEdit = Named(new QLineEdit(this), "ProductionLogEdit");
    ProductionLogEdit->setPlaceholderText(DefaultProductionLogPath());
    ProductionLogEdit->setToolTip(QStringLiteral(
        "A file, or postgresql://user@host/database for a log several benches share (the "
        "password goes into ~/.pgpass). Empty: the default file, as tolm-cli's."));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ProductionLogCbx);
    layout->addWidget(ProductionLogEdit);
}

void ProductionLogBox::Load(const PrivateProfile &settings)
{
    const QStringList values =
        settings.ReadStrings(ProductionSettings::kSection,
                             {ProductionSettings::kDesktopLogKey, ProductionSettings::kLogKey}, {});
    ProductionLogCbx->setChecked(values.value(0) == QLatin1String("1"));
    ProductionLogEdit->setText(values.value(1));
}

std::optional<QString> ProductionLogBox::Save(PrivateProfile &settings) const
{
    const QString place = ProductionLogEdit->text().trimmed();
    QString error;
    if (!place.isEmpty() && !ParseLogPlace(place, error))
        return error;
    const QString on = ProductionLogCbx->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    // Written only once the user has had a say: a file that never had the section keeps
    // none while both stay at their defaults.
    const QStringList stored =
        settings.ReadStrings(ProductionSettings::kSection,
                             {ProductionSettings::kDesktopLogKey, ProductionSettings::kLogKey}, {});
    const QString storedOn = stored.value(0).isEmpty() ? QStringLiteral("0") : stored.value(0);
    if (storedOn == on && stored.value(1) == place)
        return std::nullopt;
    if (!settings.WriteStrings(
            ProductionSettings::kSection,
            {{ProductionSettings::kDesktopLogKey, on}, {ProductionSettings::kLogKey, place}}))
        return QStringLiteral("Unable to write to %1").arg(QFileInfo(settings.Path()).fileName());
    return std::nullopt;
}
