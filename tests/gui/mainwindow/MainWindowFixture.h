#pragma once

// Shared set-up for the main window tests: a settings file in the test's own
// configuration folder, the program's windows created in their start-up order, and a
// scripted Messages that records every box.
#include "ScriptedMessages.h"
#include "app/ProgramWindows.h"
#include "app/Tolm32U.h"
#include "settings/TolmSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace MainWindowFixture {

inline void RemoveSettings()
{
    QFile::remove(TolmSettings::SettingsFilePath());
}

// Writes the given "Key=value" lines into section Main, replacing any earlier file.
[[nodiscard]] inline bool WriteSettings(const QStringList &mainLines)
{
    const QString path = TolmSettings::SettingsFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write("[Main]\r\n");
    for (const QString &line : mainLines)
        file.write((line + QStringLiteral("\r\n")).toUtf8());
    return true;
}

// The settings file as it stands, byte for byte; empty when there is none.
inline QByteArray SettingsText()
{
    QFile file(TolmSettings::SettingsFilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program as it stands after start-up. Unless a test asks for the port, whatever the
// default port did at start-up (open, or "COM Port Error") is undone, so every test starts
// with no port held and an empty record of boxes, whatever serial ports this machine has.
struct Program
{
    explicit Program(bool keepStartupPort = false)
        : windows(std::make_unique<ProgramWindows>(messages))
    {
        if (keepStartupPort)
            return;
        Main().Module().Link().CloseModulePort();
        messages.shown.removeAll(QStringLiteral("Plain: COM Port Error"));
    }

    ScriptedMessages messages;
    std::unique_ptr<ProgramWindows> windows;

    TTolmMain &Main() { return *windows->TolmMain; }
    MemoryImage &Image() { return windows->Image; }
};

// Picks a device in the selector as the user does, which runs DeviceSelectorChange.
inline void PickDevice(TTolmMain &main, const QString &name)
{
    const int index = main.DeviceSelector->findText(name);
    QVERIFY2(index >= 0, qPrintable(name));
    main.DeviceSelector->setCurrentIndex(index);
    emit main.DeviceSelector->activated(index);
}

inline bool EveryProgramCellIs(const MemoryImage &image, const QString &text)
{
    for (int a = 0; a < MemoryImage::kProgramWords; ++a) {
        if (image.GetProgramWordText(a) != text)
            return false;
    }
    return true;
}

inline bool EveryDataCellIs(const MemoryImage &image, const QString &text)
{
    for (int a = 0; a < MemoryImage::kDataBytes; ++a) {
        if (image.GetDataByteText(a) != text)
            return false;
    }
    return true;
}

} // namespace MainWindowFixture
