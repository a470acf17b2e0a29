#pragma once

#include <QElapsedTimer>
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

// The environment of a tolm-cli under test: a configuration folder of its own, so no
// developer's settings file leaks into a test, and a data folder inside it, so the production
// log every chip command appends to is the test's own (never the user's, and never shared
// with a test running at the same time).
inline QProcessEnvironment TolmCliEnvironment(const QString &configDir)
{
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
