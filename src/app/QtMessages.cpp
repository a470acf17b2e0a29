#include "QtMessages.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

const QString kProgramTitle = QStringLiteral("Tolm");

QMessageBox::StandardButton ShowBox(QMessageBox::Icon icon, const QString &title,
                                    const QString &text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton,
                                    const QString &detail = QString())
{
    QMessageBox box(icon, title, text, buttons, QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    // Shown at once under the message rather than behind a "Show Details" button: it is
    // what the user needs to fix the port.
    if (!detail.isEmpty()) {
        box.setInformativeText(detail);
        box.setTextInteractionFlags(Qt::TextSelectableByMouse); // the remedy can be copied
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

Messages::Answer ToAnswer(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return Messages::Answer::Ok;
    case QMessageBox::Abort:
        return Messages::Answer::Abort;
    case QMessageBox::Retry:
        return Messages::Answer::Retry;
    case QMessageBox::Ignore:
        return Messages::Answer::Ignore;
    default:
        return Messages::Answer::Cancel; // Esc or the box's close button
    }
}

} // namespace

void QtMessages::Plain(const QString &text)
{
    ShowBox(QMessageBox::NoIcon, kProgramTitle, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtMessages::PlainWithDetail(const QString &text, const QString &detail)
{
    ShowBox(QMessageBox::NoIcon, kProgramTitle, text, QMessageBox::Ok, QMessageBox::Ok, detail);
}

void QtMessages::Information(const QString &text)
{
    ShowBox(QMessageBox::Information, QStringLiteral("Information"), text, QMessageBox::Ok,
            QMessageBox::Ok);
}

void QtMessages::Warning(const QString &text)
{
    ShowBox(QMessageBox::Warning, QStringLiteral("Warning"), text, QMessageBox::Ok,
            QMessageBox::Ok);
}

void QtMessages::Error(const QString &text)
{
    ShowBox(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtMessages::Confirm(const QString &text)
{
    return ShowBox(QMessageBox::Question, QStringLiteral("Confirmation"), text,
                   QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

bool QtMessages::ConfirmChipCommand(const QString &text)
{
    return ShowBox(QMessageBox::Question, QStringLiteral("Confirmation"), text,
                   QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Ok;
}

Messages::Answer QtMessages::AskAbortRetryIgnore(const QString &text)
{
    return AskAbortRetryIgnoreWithDetail(text, QString());
}

Messages::Answer QtMessages::AskOkCancel(const QString &text)
{
    return AskOkCancelWithDetail(text, QString());
}

Messages::Answer QtMessages::AskAbortRetryIgnoreWithDetail(const QString &text,
                                                           const QString &detail)
{
    return ToAnswer(ShowBox(QMessageBox::Critical, QStringLiteral("Error"), text,
                            QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
                            QMessageBox::Abort, detail));
}

Messages::Answer QtMessages::AskOkCancelWithDetail(const QString &text, const QString &detail)
{
    return ToAnswer(ShowBox(QMessageBox::Critical, QStringLiteral("Error"), text,
                            QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, detail));
}

QString QtMessages::OpenFileName(const QString &directory, const QString &filter)
{
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Open"), directory, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);  // the path and the file must exist
    dialog.setDefaultSuffix(DefaultSuffix(filter)); // "blink" typed opens blink.hex
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtMessages::SaveFileName(const QString &directory, const QString &filter)
{
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Save As"), directory, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave); // asks before replacing a file
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(DefaultSuffix(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString DefaultSuffix(const QString &filter)
{
    static const QRegularExpression firstPattern(
        QStringLiteral(R"(\(\s*\*\.([A-Za-z0-9]+)[\s;)])"));
    const QRegularExpressionMatch match = firstPattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}
