#include "HexEditFilter.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>

namespace {

const char *const kHexEditProperty = "tolmHexEdit";
const char *const kSelectorProperty = "tolmSelector";

bool IsHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
}

// Keys that move the caret or the focus, or blank a position, rather than type a
// character; Qt hands some of them over with a control character as text.
bool IsNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

// A key press that types a character, as opposed to a bare key (Shift, arrows, F4).
bool TypesCharacter(const QKeyEvent &event)
{
    // Enter and Esc belong to the dialog around the field: its default button and Cancel.
    if (IsNavigationKey(event.key()) || event.key() == Qt::Key_Return ||
        event.key() == Qt::Key_Enter || event.key() == Qt::Key_Escape)
        return false;
    if (event.key() == Qt::Key_Backspace || event.key() == Qt::Key_Space)
        return true;
    return !event.text().isEmpty();
}

bool HasBlankPosition(const QLineEdit &edit)
{
    return !edit.hasAcceptableInput();
}

// Another watched field that is itself waiting for a digit: taking the focus back from it
// would make the two fields pull the focus to and fro without end.
bool IsBlankHexField(QWidget *widget)
{
    auto *edit = qobject_cast<QLineEdit *>(widget);
    return edit && edit->property(kHexEditProperty).toBool() && HasBlankPosition(*edit);
}

} // namespace

bool FilterKeyPress(const QKeyEvent &event)
{
    if (!TypesCharacter(event))
        return false;
    // Ctrl+V and its kin arrive as letters with Control held; they would paste or cut.
    const bool control = event.modifiers().testFlag(Qt::ControlModifier) ||
                         event.modifiers().testFlag(Qt::MetaModifier);
    const QString text = event.text();
    return control || text.size() != 1 || !IsHexDigit(text.front());
}

bool FilterKeyDown(const QKeyEvent &event)
{
    return event.key() == Qt::Key_Backspace;
}

bool SelectorKeyPress(const QKeyEvent &event)
{
    return TypesCharacter(event);
}

void SetupHexEdit(QLineEdit *edit, int digits, bool upperCase)
{
    const QString mask = QString(QLatin1Char('H')).repeated(digits) + QStringLiteral(";_");
    edit->setInputMask(upperCase ? QStringLiteral(">") + mask : mask);
    edit->setText(QString(QLatin1Char('0')).repeated(digits));
    edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    // Wide enough for the digits, the frame, the margins and the caret, never wider.
    const QFontMetrics metrics(edit->font());
    QStyleOptionFrame option;
    option.initFrom(edit);
    const QSize content(metrics.horizontalAdvance(QLatin1Char('W')) * (digits + 2),
                        metrics.height());
    const QSize size = edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, content, edit);
    edit->setFixedWidth(size.width());
}

void HexEditFilter::WatchHexEdit(QLineEdit *edit)
{
    edit->setProperty(kHexEditProperty, true);
    edit->installEventFilter(this);
}

void HexEditFilter::WatchSelector(QWidget *selector)
{
    selector->setProperty(kSelectorProperty, true);
    selector->installEventFilter(this);
}

bool HexEditFilter::eventFilter(QObject *watched, QEvent *event)
{
    // qobject_cast, not a plain cast: a field being destroyed still passes events through
    // here after it has stopped being a line edit.
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (edit && edit->property(kHexEditProperty).toBool())
        return HexEditEvent(edit, event);
    if (watched->property(kSelectorProperty).toBool() && event->type() == QEvent::KeyPress)
        return SelectorKeyPress(*static_cast<QKeyEvent *>(event));
    return false;
}

bool HexEditFilter::HexEditEvent(QLineEdit *edit, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto &key = *static_cast<QKeyEvent *>(event);
        return FilterKeyDown(key) || FilterKeyPress(key);
    }
    if (event->type() == QEvent::FocusOut && HasBlankPosition(*edit)) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Switching to another window or opening a menu is not leaving the field.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        QPointer<QLineEdit> field(edit);
        QTimer::singleShot(0, edit, [field] {
            // The field may have been filled meanwhile (the Max buttons do that).
            if (field && field->isVisible() && HasBlankPosition(*field) &&
                !IsBlankHexField(QApplication::focusWidget()))
                field->setFocus(Qt::OtherFocusReason);
        });
    }
    return false;
}
