// What the main window keeps over a session: the title that names what the image holds, its
// place on the screen between runs, and the pane of the operation log.
#include "ChipOperations.h"
#include "MainStatusBar.h"
#include "OperationLog.h"
#include "Tolm32U.h"
#include "settings/DesktopSettings.h"
#include "settings/PrivateProfile.h"
#include "settings/TolmSettings.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace {

// Lines of the log in view when its pane is open; the rest scrolls.
constexpr int kLogLines = 8;

} // namespace

void TTolmMain::ImageNamed(const QString &source)
{
    m_imageSource = source;
    m_imageEdited = false;
    ShowTitle();
}

void TTolmMain::ImageEdited()
{
    // Chip work changes the image only by a Read, which names the chip when it ends.
    if (m_operations->Busy() || m_imageEdited)
        return;
    m_imageEdited = true;
    ShowTitle();
}

void TTolmMain::ShowTitle()
{
    QString title = QStringLiteral("Tolm ") + VersionText;
    if (!m_imageSource.isEmpty())
        title += QStringLiteral(" - ") + m_imageSource + (m_imageEdited ? "*" : "");
    setWindowTitle(title);
}

void TTolmMain::RestorePlace()
{
    const PrivateProfile settings(TolmSettings::SettingsFilePath());
    bool leftOk = false;
    bool topOk = false;
    const int left =
        settings.ReadString(DesktopSettings::kWindowSection, DesktopSettings::kLeftKey, QString())
            .toInt(&leftOk);
    const int top =
        settings.ReadString(DesktopSettings::kWindowSection, DesktopSettings::kTopKey, QString())
            .toInt(&topOk);
    if (!leftOk || !topOk)
        return;
    // Only where a screen shows it now: a monitor unplugged since must not hide the window.
    const QRect place(QPoint(left, top), frameGeometry().size());
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().contains(place.topLeft()) &&
            screen->availableGeometry().intersects(place)) {
            move(place.topLeft());
            return;
        }
    }
}

void TTolmMain::StorePlace() const
{
    PrivateProfile settings(TolmSettings::SettingsFilePath());
    settings.WriteStrings(DesktopSettings::kWindowSection,
                          {{DesktopSettings::kLeftKey, QString::number(pos().x())},
                           {DesktopSettings::kTopKey, QString::number(pos().y())}});
}

void TTolmMain::SetOperationLog(OperationLog &log)
{
    m_log = &log;
    for (const QString &entry : log.Entries())
        OperationLogView->appendPlainText(entry);
    connect(&log, &OperationLog::Appended, OperationLogView, &QPlainTextEdit::appendPlainText);
}

void TTolmMain::BuildLogPane()
{
    OperationLogView = new QPlainTextEdit;
    OperationLogView->setObjectName(QStringLiteral("OperationLogView"));
    OperationLogView->setReadOnly(true);
    OperationLogView->setAccessibleName(QStringLiteral("Operation log"));
    OperationLogView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // A message is read whole: long lines wrap at the pane's width.
    OperationLogView->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    OperationLogView->setFixedHeight(kLogLines * OperationLogView->fontMetrics().lineSpacing() +
                                     2 * OperationLogView->frameWidth() + 8);
    OperationLogView->hide();
    connect(StatusBar->LogBtn, &QPushButton::toggled, this, &TTolmMain::ShowLogPane);
}

void TTolmMain::ShowLogPane(bool shown)
{
    // The window keeps its size with the pane shut, and grows by the pane when it opens.
    OperationLogView->setVisible(shown);
    const int extra = shown ? OperationLogView->height() + centralWidget()->layout()->spacing() : 0;
    setFixedSize(m_baseSize.width(), m_baseSize.height() + extra);
}
