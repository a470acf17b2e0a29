#pragma once

#include <QString>
#include <functional>

class OperationLog;
class QDir;
class QWidget;
class TOptionsDlg;
class TProcessForm;
class TTolmMain;

// The pictures of what the desktop adds beside the original windows: the progress window's
// figures and summary, a file given at start with its checksum, a typed port, the recent files.
using ShotSaver = std::function<bool(QWidget *window, const QDir &dir, const QString &name)>;

bool SaveProgressShots(TProcessForm &form, const QDir &dir, const ShotSaver &save);
bool SaveFileShots(TTolmMain &main, const QDir &dir, const ShotSaver &save);
bool SaveTypedPortShot(TOptionsDlg &options, const QDir &dir, const ShotSaver &save);

// The main window with the operation log's pane open, after a load, a run and a failure.
bool SaveLogShot(TTolmMain &main, OperationLog &log, const QDir &dir, const ShotSaver &save);
