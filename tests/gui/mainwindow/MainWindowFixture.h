#pragma once

// Shared set-up for the main window tests: a settings file in the test's own
// configuration folder, the program's windows created in their start-up order, and a
// scripted Messages that records every box.
#include "ScriptedMessages.h"
#include "app/MainStatusBar.h"
#include "app/ModuleConnection.h"
#include "app/ProgramWindows.h"
#include "app/Tolm32U.h"
#include "settings/TolmSettings.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <functional>
#include <memory>

namespace MainWindowFixture {

// The control of that objectName under root (a window, a dialog); the test fails when there
// is none, so a renamed control is found out at once.
template <typename T> T *Find(const QObject &root, const QString &name)
{
    T *found = root.findChild<T *>(name);
    if (!found)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

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

// A file of the given bytes in the folder; its path, or empty when it could not be written.
inline QString WriteFile(const QTemporaryDir &dir, const QString &name, const QByteArray &text)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return {};
    return path;
}

// Drags the given addresses onto the window and drops them there, as a file manager does.
inline bool DropOn(QWidget &window, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = window.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    return drop.isAccepted();
}

// Presses Options with `inDialog` acting on the shown dialog (it must close it).
inline void RunOptions(QWidget &main, const std::function<void(QDialog &)> &inDialog)
{
    auto *dialog = Find<QDialog>(main, QStringLiteral("OptionsDlg"));
    QTimer::singleShot(0, dialog, [dialog, inDialog] { inDialog(*dialog); });
    Find<QToolButton>(main, QStringLiteral("OptionsBtn"))->click();
}

// Picks a device in the selector as the user does, which runs DeviceSelectorChange.
inline void PickDevice(TTolmMain &main, const QString &name)
{
    const int index = Find<QComboBox>(main, "DeviceSelector")->findText(name);
    QVERIFY2(index >= 0, qPrintable(name));
    Find<QComboBox>(main, "DeviceSelector")->setCurrentIndex(index);
    emit Find<QComboBox>(main, "DeviceSelector")->activated(index);
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
