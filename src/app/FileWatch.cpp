#include "FileWatch.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

FileWatch::FileWatch(QObject *parent) : QObject(parent)
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    connect(&m_quiet, &QTimer::timeout, this, &FileWatch::Settled);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &FileWatch::Touched);
    // A file renamed over the watched one ends the watch on the old file: the folder says so.
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FileWatch::Touched);
}

void FileWatch::Watch(const QString &path)
{
    Stop();
    m_path = QFileInfo(path).absoluteFilePath();
    m_watcher.addPath(m_path);
    m_watcher.addPath(QFileInfo(m_path).absolutePath());
    Accept();
}

void FileWatch::Stop()
{
    m_quiet.stop();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_path.clear();
    m_known.clear();
    m_reported.clear();
}

void FileWatch::Accept()
{
    m_known = Fingerprint();
    m_reported.clear();
}

void FileWatch::Touched()
{
    if (!m_path.isEmpty())
        m_quiet.start();
}

void FileWatch::Settled()
{
    if (m_path.isEmpty())
        return;
    // Watch the file again if it was replaced (a new file under the same name).
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    const QByteArray now = Fingerprint();
    // A file that is gone (in the middle of a rebuild) is not a change to load.
    if (now.isEmpty() || now == m_known || now == m_reported)
        return;
    m_reported = now;
    emit Changed(m_path);
}

QByteArray FileWatch::Fingerprint() const
{
    // Only a regular file is read: opening a FIFO put in its place would wait for a writer.
    QFile file(m_path);
    if (!QFileInfo(m_path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&file);
    // An empty file still differs from one that cannot be read.
    return hash.result() + QByteArray::number(file.size());
}
