#pragma once

#include "device/DeviceRecord.h"

#include <QObject>
#include <QString>

class QComboBox;
class QCompleter;
class QWidget;

// The toolbar's device selector and the device it stands for (CurrentDevice): the one copy of
// the selected device's parameters that every other part of the window reads. Selecting a
// device here changes only the selector and the record; the window then adapts its parts.
//
// The list holds every part of the catalogue under its own name. Typing narrows it: the parts
// whose names hold the typed text drop down, and Enter picks the highlighted one, the part the
// text names, or the only one left. Escape, or leaving the selector, shows the current part
// again. Parts not yet confirmed on hardware and the user's own parts carry a mark and a hint.
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
    // The selector back to the current device (after a pick that was refused, or typing that
    // named nothing).
    void ShowCurrent();
    // The part the user picked: the name of the selector's item, never the text being typed.
    QString SelectorText() const;

signals:
    // The user picked an item; the program's own changes never emit it.
    void DeviceSelectorChange();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FillList();
    void ShowMark();
    // Enter on typed text: the part it names is picked; otherwise the text stays to be mended.
    void PickTyped();
    void Pick(int index);

    QComboBox *DeviceSelector = nullptr;
    QCompleter *m_completer = nullptr;
    DeviceRecord m_device;
};
