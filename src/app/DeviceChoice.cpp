#include "DeviceChoice.h"

#include "ControlFactory.h"
#include "HexEditFilter.h"
#include "device/catalogue/CatalogueInUse.h"

#include <QComboBox>

DeviceChoice::DeviceChoice(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DeviceChoice"));
    DeviceSelector = Named(new QComboBox, "DeviceSelector");
    DeviceSelector->addItems(SelectorDeviceNames());
    DeviceSelector->setMaxVisibleItems(SelectorDeviceNames().size());
    DeviceSelector->setToolTip(QStringLiteral("Device"));
    DeviceSelector->setAccessibleName(QStringLiteral("Device"));
    DeviceSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // The list is picked from, never typed into.
    auto *filter = new HexEditFilter(this);
    filter->WatchSelector(DeviceSelector);
    // "activated" comes only from the user's pick, never from the program's own changes.
    connect(DeviceSelector, &QComboBox::activated, this, &DeviceChoice::DeviceSelectorChange);
}

QWidget *DeviceChoice::Selector() const
{
    return DeviceSelector;
}

bool DeviceChoice::Select(const QString &name)
{
    const std::optional<DeviceRecord> found = FindDevice(name);
    if (found)
        m_device = *found;
    ShowCurrent();
    return found.has_value();
}

void DeviceChoice::ShowCurrent()
{
    // The empty record has no item: the selector then shows no text.
    DeviceSelector->setCurrentIndex(
        DeviceSelector->findText(m_device.DeviceName, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

QString DeviceChoice::SelectorText() const
{
    return DeviceSelector->currentText();
}
