// Files as a desktop user expects them: a file named on the command line or dropped on the
// window, the recent files on the Load button, and an offer to load the file again when the
// assembler has rebuilt it.
#include "ChipRequest.h"
#include "FilePart.h"
#include "FileWatch.h"
#include "MainStatusBar.h"
#include "RecentFiles.h"
#include "ops/Messages.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace {

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

QString FilePart::DraggedFile(const QMimeData *data)
{
    // Several files or a web address are not a file to load.
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile() || !QFileInfo(url.toLocalFile()).isFile())
        return {};
    return url.toLocalFile();
}

void FilePart::RememberFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    m_fileFolder = info.absolutePath();
    m_recentFiles->Add(info.absoluteFilePath());
    m_fileWatch->Watch(info.absoluteFilePath());
    m_parts.statusBar.EndOffer();
}

void FilePart::LoadStartFile(const QString &fileName)
{
    m_parts.request.TickOfferedTargets();
    LoadNamedFile(fileName, LoadReport::QuietSuccess);
}

void FilePart::LoadRecentFile(const QString &fileName)
{
    if (RefusedDuringChipWork(QFileInfo(fileName).fileName()) || m_parts.request.NoTargetSelected())
        return;
    if (!QFileInfo(fileName).isFile()) {
        // A file that has gone is offered no more.
        m_recentFiles->Remove(fileName);
        m_parts.messages.Error(QStringLiteral("%1 is no longer there.").arg(fileName));
        return;
    }
    LoadNamedFile(fileName, LoadReport::Boxes);
}

void FilePart::LoadDroppedFile(const QString &fileName)
{
    if (RefusedDuringChipWork(QFileInfo(fileName).fileName()) || m_parts.request.NoTargetSelected())
        return;
    LoadNamedFile(fileName, LoadReport::Boxes);
}

void FilePart::ReloadChangedFile()
{
    const QString path = m_fileWatch->Path();
    if (path.isEmpty())
        return;
    // The image must not change under a write or a verify that is reading it word by word.
    if (m_hooks.chipWorkRunning()) {
        // The offer stays: the user takes it up once the work is done.
        m_parts.statusBar.ShowText(
            QStringLiteral("%1 changed on disk: reload when the chip work is done")
                .arg(QFileInfo(path).fileName()));
        return;
    }
    if (m_parts.request.NoTargetSelected())
        return;
    m_parts.statusBar.EndOffer();
    LoadNamedFile(path, LoadReport::QuietSuccess);
}

void FilePart::FileChangedOnDisk(const QString &path)
{
    // Loaded at once only when nothing needs asking: targets ticked and no chip work under
    // way. Otherwise, or without the setting, the status line offers it.
    if (m_reloadAtOnce && m_parts.request.CheckedTargets().Any() && !m_hooks.chipWorkRunning()) {
        ReloadChangedFile();
        return;
    }
    m_parts.statusBar.OfferReload(QFileInfo(path).fileName());
}

bool FilePart::RefusedDuringChipWork(const QString &what)
{
    if (!m_hooks.chipWorkRunning())
        return false;
    emit StatusText(QStringLiteral("%1 must wait until the chip work has ended").arg(what));
    return true;
}

void FilePart::FillRecentFilesMenu()
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
