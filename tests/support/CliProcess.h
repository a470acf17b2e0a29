#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

// One run of tolm-cli, as a test sees it.
struct CliRun
{
    int exitCode = -1; // -1 when the program crashed or did not finish
    QString out;
    QString err;
    qint64 elapsedMs = 0;
};

// A test's settings file, unless the test wrote its own: its module port is a path in the
// test's folder that no device stands behind. A command that reaches the port without -p
// then fails there, instead of opening COM1, the host's /dev/ttyS0, which may be real
// hardware or held by another program.
inline void KeepDefaultPortInTestFolder(const QString &configDir)
{
    QDir().mkpath(configDir);
    QFile settings(configDir + QStringLiteral("/VIRIVI.INI"));
    if (settings.exists() || !settings.open(QIODevice::WriteOnly))
        return;
    settings.write(
        QStringLiteral("[Main]\r\nModulePort=%1/no-module-port\r\n").arg(configDir).toUtf8());
}

// The environment of a tolm-cli under test: a configuration folder of its own, so no
// developer's settings file leaks into a test and no command falls back on a port of the host,
// and a data folder inside it, so the production log every chip command appends to is the
// test's own (never the user's, and never shared with a test running at the same time).
inline QProcessEnvironment TolmCliEnvironment(const QString &configDir)
{
    KeepDefaultPortInTestFolder(configDir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), configDir);
    env.insert(QStringLiteral("XDG_DATA_HOME"), configDir + QStringLiteral("/data"));
    return env;
}

// Runs tolm-cli in TolmCliEnvironment(configDir).
inline CliRun RunTolmCli(const QString &executable, const QStringList &args,
                         const QString &configDir, int timeoutMs = 30000)
{
    QProcess process;
    process.setProcessEnvironment(TolmCliEnvironment(configDir));
    QElapsedTimer timer;
    timer.start();
    process.start(executable, args);
    const bool finished = process.waitForFinished(timeoutMs);
    CliRun run;
    run.elapsedMs = timer.elapsed();
    run.exitCode =
        finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
