#pragma once

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

// tolm-modsim serving one chip on a pseudo-terminal linked in a temporary folder, for tests
// that drive the real serial link. Stopped (SIGTERM, then kill) when destroyed.
class ModsimProcess
{
public:
    explicit ModsimProcess(QString executable) : m_executable(std::move(executable)) {}
    ~ModsimProcess() { Stop(); }

    // Starts the simulator and waits until its link exists; false with the reason in Error().
    bool Start(const QString &device, const QStringList &extra = {})
    {
        m_process.start(m_executable,
                        QStringList{"--device", device, "--link", LinkPath()} + extra);
        if (!m_process.waitForStarted(5000))
            return Fail("tolm-modsim did not start");
        QElapsedTimer timer;
        timer.start();
        while (!QFileInfo::exists(LinkPath())) {
            if (m_process.state() != QProcess::Running)
                return Fail("tolm-modsim ended: " + m_process.readAllStandardError());
            if (timer.elapsed() > 5000)
                return Fail("tolm-modsim made no link");
            QThread::msleep(10);
        }
        return true;
    }

    void Stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }

    QString LinkPath() const { return m_dir.filePath(QStringLiteral("module")); }
    QString Error() const { return m_error; }
    QString StandardError() { return QString::fromUtf8(m_process.readAllStandardError()); }

private:
    bool Fail(const QString &why)
    {
        m_error = why;
        return false;
    }

    QString m_executable;
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_error;
};
