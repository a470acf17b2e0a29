#pragma once

#include "hexfile/HexTargets.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class ChipRequest;
class ConfigurationPart;
class FileWatch;
class MainStatusBar;
class MemoryImage;
class Messages;
class QMenu;
class QMimeData;
class QToolButton;
class QWidget;
class RecentFiles;
struct DeviceRecord;

// The image's hex files as a desktop user expects them: Load From File and Save To File with
// their choosers, a file named on the command line or dropped on the window, the recent files
// on the Load button, and the offer to load a file again when the assembler has rebuilt it.
class FilePart : public QObject
{
    Q_OBJECT
public:
    struct Parts
    {
        MemoryImage &image;
        const DeviceRecord &device;
        Messages &messages;
        ChipRequest &request;
        ConfigurationPart &config;
        MainStatusBar &statusBar;
    };
    // What the part asks of the rest of the window at the moment it needs it.
    struct Hooks
    {
        // True while chip work runs: the image must not change under it.
        std::function<bool()> chipWorkRunning;
        // A byte still being typed in the data editor, completed before the image is saved.
        std::function<void()> completeTypedByte;
        // False: "File loaded successfully" goes to the status line instead of a box.
        std::function<bool()> confirmSuccesses;
    };
    FilePart(const Parts &parts, Hooks hooks, QObject *parent = nullptr);
    ~FilePart() override;

    // For the Programming page.
    QList<QWidget *> Buttons() const;

    // A file given on the command line: every target the device offers is ticked, then it
    // loads as Load From File does, its success told on the status line rather than in a box.
    void LoadStartFile(const QString &fileName);
    // A file from the Load button's menu, or dropped on the window: as Load From File.
    void LoadRecentFile(const QString &fileName);
    void LoadDroppedFile(const QString &fileName);
    // The loaded file changed on disk: loaded again for the ticked targets.
    void ReloadChangedFile();

    // A drag onto the window: the one local file it carries, or empty.
    static QString DraggedFile(const QMimeData *data);

    // The working directory from the settings or Options, for both choosers.
    void SetDialogDirectories(const QString &workingDir);
    const QString &OpenDialogDirectory() const { return m_openDialogDirectory; }
    const QString &SaveDialogDirectory() const { return m_saveDialogDirectory; }
    // Where the choosers start: the folder of the file last loaded or saved, before that the
    // working directory.
    QString DialogStartFolder(const QString &workingDir) const;

    RecentFiles &Recent() { return *m_recentFiles; }
    FileWatch &Watch() { return *m_fileWatch; }
    bool ReloadAtOnce() const { return m_reloadAtOnce; }
    void SetReloadAtOnce(bool atOnce) { m_reloadAtOnce = atOnce; }

public slots:
    void LoadFromFileBtnClick();
    void SaveToFileBtnClick();

signals:
    // A file was named for the image (loaded or saved): the caption shows it.
    void FileNamed(const QString &fileName);
    // Quiet news for the status line.
    void StatusText(const QString &text);

private:
    // The load after the chooser: caption, image, controls, then the report (a box, or the
    // status line for a quiet success).
    enum class LoadReport { Boxes, QuietSuccess };
    void LoadNamedFile(const QString &fileName, LoadReport report);
    // Before a file is read: each ticked memory of the image blank, as on an erased chip.
    void BlankTargets(const HexTargets &targets);
    // A file loaded or saved: remembered, watched, and its folder the choosers' start.
    void RememberFile(const QString &fileName);
    void FileChangedOnDisk(const QString &path);
    void FillRecentFilesMenu();
    // While chip work runs: says on the status line that `what` must wait, and gives true.
    bool RefusedDuringChipWork(const QString &what);

    Parts m_parts;
    Hooks m_hooks;
    QString m_openDialogDirectory;
    QString m_saveDialogDirectory;
    QString m_fileFolder; // of the file last loaded or saved; empty before the first
    bool m_reloadAtOnce = false;
    std::unique_ptr<RecentFiles> m_recentFiles;
    FileWatch *m_fileWatch = nullptr;

    QToolButton *LoadFromFileBtn = nullptr;
    QToolButton *SaveToFileBtn = nullptr;
    QMenu *RecentFilesMenu = nullptr;
};
