#pragma once

#include <QIODevice>
#include <QString>
#include <QTextStream>

// A write-only device between one port's work and its output stream: everything written
// passes on unchanged, and the lines that say what went wrong are kept for the production
// log. A QTextStream on it takes the place of the port's stdout or stderr.
class PortMessageTee : public QIODevice
{
public:
    explicit PortMessageTee(QTextStream &target);
    ~PortMessageTee() override;

    // The first "tolm-cli: " message that is not a warning, without that prefix.
    QString FirstMessage() const { return m_firstMessage; }
    // The first difference a verify or blank check printed ("prog 01A0 expected 1234 read
    // 3FFF").
    QString FirstDifference() const { return m_firstDifference; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    void NoteLine(const QString &line);

    QTextStream &m_target;
    QByteArray m_pending; // a line not yet ended
    QString m_firstMessage;
    QString m_firstDifference;
};
