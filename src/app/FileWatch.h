#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// Watches the file the main window works with and says when its contents changed on disk,
// e.g. because the assembler has built it again. Assemblers and editors write in several
// steps, or write a new file and rename it over the old one; the watch waits until the file
// has been quiet for a moment, follows it across such a replacement, and compares contents,
// so a build that writes the same bytes again, or the program's own save, offers nothing.
class FileWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int kQuietMs = 300;

    explicit FileWatch(QObject *parent = nullptr);

    // Starts watching `path`, its present contents being the known ones.
    void Watch(const QString &path);
    void Stop();
    // The file as it is now is the known contents (after the program itself wrote or read it).
    void Accept();
    const QString &Path() const { return m_path; }

signals:
    // The contents differ from the known ones. Emitted once per change; Accept (a reload)
    // or a later change re-arms it.
    void Changed(const QString &path);

private:
    void Touched();
    void Settled();
    QByteArray Fingerprint() const;

    QFileSystemWatcher m_watcher;
    QTimer m_quiet;
    QString m_path;
    QByteArray m_known;
    QByteArray m_reported;
};
