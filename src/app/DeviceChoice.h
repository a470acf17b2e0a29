#pragma once

#include "device/DeviceRecord.h"

#include <QObject>
#include <QString>

class QComboBox;
class QWidget;

// The toolbar's device selector and the device it stands for (CurrentDevice): the one copy of
// the selected device's parameters that every other part of the window reads. Selecting a
// device here changes only the selector and the record; the window then adapts its parts.
class DeviceChoice : public QObject
{
    Q_OBJECT
public:
    explicit DeviceChoice(QObject *parent = nullptr);

    // For the toolbar.
    QWidget *Selector() const;
    const DeviceRecord &Current() const { return m_device; }

    // The named device becomes the current one and the selector shows it. A name the catalogue
    // lacks (a hand-edited settings file, the Options dialog's free text) changes nothing and
    // gives false; the selector shows the device that stays.
    bool Select(const QString &name);
    // The selector back to the current device (after a pick that was refused).
    void ShowCurrent();
    QString SelectorText() const;

signals:
    // The user picked an item; the program's own changes never emit it.
    void DeviceSelectorChange();

private:
    QComboBox *DeviceSelector = nullptr;
    DeviceRecord m_device;
};
