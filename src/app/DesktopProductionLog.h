#pragma once

#include "ops/ProductionRows.h"

#include <QString>
#include <memory>

class ProductionRecorder;

// The desktop program's rows in the production log, when Options switched them on. The place
// is read from the settings file at each Start (as tolm-cli reads it: TOLM_LOG, else
// [Production] Log, else the default file), made ready once, and each row goes through the
// same recorder as tolm-cli's: to the file, to the server, or kept on the bench while the
// server is away.
class DesktopProductionLog
{
public:
    explicit DesktopProductionLog(QString settingsPath);
    ~DesktopProductionLog();

    // Adds the run's row. What the status line should say, or nothing: the row is not
    // recorded (and why), or it waits on the bench for the server.
    QString Record(const DesktopRun &run);

private:
    QString m_settingsPath;
    QString m_placeText; // of the recorder made ready
    std::unique_ptr<ProductionRecorder> m_recorder;
};
