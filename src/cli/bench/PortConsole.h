#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <mutex>
#include <vector>

// The terminal shared by the ports of one command that runs on several modules at once.
// Every line a port writes is prefixed with the port's name ("ttyUSB1: ..."), so a bench
// log says which socket a message is about. When progress is drawn (stderr a terminal), the
// bottom of stderr holds one progress line per port, redrawn in place; a message is printed
// above that block, which is then drawn again below it.
//
// The ports run on threads of their own; every call takes the console's lock, so lines never
// interleave.
class PortConsole
{
public:
    PortConsole(QTextStream &out, QTextStream &err, QStringList ports, bool drawProgress);

    // One whole line of a port's output (no newline); `toStdout` for results.
    void Line(int port, const QString &text, bool toStdout);
    // The port's progress line changed.
    void Progress(int port, const QString &text);
    // The ports have ended: the block stays on the screen as last drawn.
    void Finish();

    QString PortName(int port) const { return m_ports.value(port); }

private:
    void ClearBlock();
    void DrawBlock();
    QString Prefixed(int port, const QString &text) const;

    std::mutex m_mutex;
    QTextStream &m_out;
    QTextStream &m_err;
    const QStringList m_ports;
    const bool m_drawProgress;
    std::vector<QString> m_progress;
    bool m_blockDrawn = false;
};

// A write-only device that hands each complete line written to it to the console as one of
// the port's lines; a QTextStream on it is that port's stdout or stderr.
class PortLineDevice : public QIODevice
{
public:
    PortLineDevice(PortConsole &console, int port, bool toStdout);
    ~PortLineDevice() override;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    PortConsole &m_console;
    const int m_port;
    const bool m_toStdout;
    QByteArray m_pending; // a line not yet ended
};
