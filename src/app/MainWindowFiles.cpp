// Files as a desktop user expects them: a file named on the command line or dropped on the
// window, the recent files on the Load button, the choosers starting where the last file was,
// and an offer to load the file again when the assembler has rebuilt it.
#include "FileWatch.h"
#include "MainStatusBar.h"
#include "RecentFiles.h"
#include "Tolm32U.h"
#include "ops/Messages.h"
#include "settings/DesktopSettings.h"
#include "settings/PrivateProfile.h"
#include "settings/TolmSettings.h"

#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace {

// The one local file a drag carries, or nothing: several files or a web address are not a
// file to load.
QString DraggedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile())
        return {};
    return url.toLocalFile();
}

// "blink.hex  (~/pic/blink)": the name first, as the user looks for it; the folder to tell
// two builds of one name apart.
QString MenuText(int number, const QString &path)
{
    const QFileInfo info(path);
    QString folder = QDir::toNativeSeparators(info.absolutePath());
    const QString home = QDir::homePath();
    if (folder == home || folder.startsWith(home + QLatin1Char('/')))
        folder = QLatin1Char('~') + folder.mid(home.size());
    // "&&" shows an ampersand in a file name instead of making it the item's key.
    QString name = info.fileName();
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    folder.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2  (%3)").arg(number).arg(name, folder);
}

} // namespace

void TTolmMain::BuildFileExtras()
{
    const QString settings = TolmSettings::SettingsFilePath();
    m_recentFiles = std::make_unique<RecentFiles>(settings);
    m_reloadAtOnce = PrivateProfile(settings).ReadString(DesktopSettings::kFilesSection,
                                                         DesktopSettings::kReloadAtOnceKey,
                                                         QString()) == QLatin1String("1");
    m_fileWatch = new FileWatch(this);
    connect(m_fileWatch, &FileWatch::Changed, this, &TTolmMain::FileChangedOnDisk);
    connect(StatusBar, &MainStatusBar::ReloadClicked, this, &TTolmMain::ReloadChangedFile);
    connect(RecentFilesMenu, &QMenu::aboutToShow, this, &TTolmMain::FillRecentFilesMenu);
    FillRecentFilesMenu();
}

QString TTolmMain::DialogStartFolder(const QString &workingDir) const
{
    return m_fileFolder.isEmpty() ? workingDir : m_fileFolder;
}

void TTolmMain::ShowStatusLine(const QString &text)
{
    StatusBar->EndOffer();
    StatusBar->ShowText(text);
}

void TTolmMain::RememberFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    m_fileFolder = info.absolutePath();
    m_recentFiles->Add(info.absoluteFilePath());
    m_fileWatch->Watch(info.absoluteFilePath());
    StatusBar->EndOffer();
}

void TTolmMain::LoadStartFile(const QString &fileName)
{
    for (QCheckBox *target : {ProgMemCbx, DataMemCbx, ConfigCbx, IDCodeCbx})
        target->setChecked(target->isEnabled());
    LoadNamedFile(fileName, LoadReport::QuietSuccess);
}

void TTolmMain::LoadRecentFile(const QString &fileName)
{
    if (RefusedDuringChipWork(QFileInfo(fileName).fileName()) || NoTargetSelected())
        return;
    if (!QFileInfo(fileName).isFile()) {
        // A file that has gone is offered no more.
        m_recentFiles->Remove(fileName);
        m_messages.Error(QStringLiteral("%1 is no longer there.").arg(fileName));
        return;
    }
    LoadNamedFile(fileName, LoadReport::Boxes);
}

void TTolmMain::LoadDroppedFile(const QString &fileName)
{
    if (RefusedDuringChipWork(QFileInfo(fileName).fileName()) || NoTargetSelected())
        return;
    LoadNamedFile(fileName, LoadReport::Boxes);
}

void TTolmMain::ReloadChangedFile()
{
    const QString path = m_fileWatch->Path();
    if (path.isEmpty())
        return;
    // The image must not change under a write or a verify that is reading it word by word.
    if (ModuleBusy()) {
        StatusBar->ShowText(QStringLiteral("%1 changed on disk: reload when the chip work is done")
                                .arg(QFileInfo(path).fileName()));
        return;
    }
    if (NoTargetSelected())
        return;
    StatusBar->EndOffer();
    LoadNamedFile(path, LoadReport::QuietSuccess);
}

void TTolmMain::FileChangedOnDisk(const QString &path)
{
    // Loaded at once only when nothing needs asking: targets ticked and no chip work under
    // way. Otherwise, or without the setting, the status line offers it.
    if (m_reloadAtOnce && CheckedTargets().Any() && !ModuleBusy()) {
        ReloadChangedFile();
        return;
    }
    StatusBar->OfferReload(QFileInfo(path).fileName());
}

void TTolmMain::FillRecentFilesMenu()
{
    RecentFilesMenu->clear();
    const QStringList files = m_recentFiles->Files();
    if (files.isEmpty()) {
        RecentFilesMenu->addAction(QStringLiteral("No recent files"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction *action = RecentFilesMenu->addAction(MenuText(i + 1, path));
        action->setToolTip(QDir::toNativeSeparators(path));
        action->setData(path);
        connect(action, &QAction::triggered, this, [this, path] { LoadRecentFile(path); });
    }
}

void TTolmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DraggedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TTolmMain::dropEvent(QDropEvent *event)
{
    const QString file = DraggedFile(event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has ended: the boxes of the load are not to open inside the drag.
    QTimer::singleShot(0, this, [this, file] { LoadDroppedFile(file); });
}
