#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Every message of the session with its time: the boxes (with their details and answers), the
// status line's news and the runs' summaries. Kept for the session only, so that a message
// that went by (a box closed, a status line replaced) can be read again and copied.
class OperationLog : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // "14:03:22  text", the detail on lines of its own under it, indented.
    void Append(const QString &text, const QString &detail = QString());
    const QStringList &Entries() const { return m_entries; }

signals:
    void Appended(const QString &entry);

private:
    QStringList m_entries;
};
