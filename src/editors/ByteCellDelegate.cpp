#include "ByteCellDelegate.h"

#include "DataCellInput.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

constexpr QChar kBlankShown = u'_';
constexpr int kBytePlaces = 2;
// Set on the editor of the grid's last cell, where typing has no next cell to go on to.
const char *const kLastCellProperty = "lastCell";

bool IsArrowKey(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

QAbstractItemView *ViewOf(QWidget *editor)
{
    for (QWidget *w = editor->parentWidget(); w; w = w->parentWidget()) {
        if (auto *view = qobject_cast<QAbstractItemView *>(w))
            return view;
    }
    return nullptr;
}

} // namespace

QWidget *ByteCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &index) const
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("DMemCellEdit"));
    // Two places, hex digits only, turned to upper case as typed; typing overwrites in place.
    edit->setInputMask(QStringLiteral(">hh;") + kBlankShown);
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignCenter);
    // Right-clicking the cell opens the grid's own menu, not the line edit's.
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    const QAbstractItemModel *model = index.model();
    edit->setProperty(kLastCellProperty, index.row() == model->rowCount() - 1 &&
                                             index.column() == model->columnCount() - 1);
    connect(edit, &QLineEdit::textEdited, this, [this, edit] { ByteEdited(edit); });
    return edit;
}

void ByteCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *edit = static_cast<QLineEdit *>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    // Our own commit comes back as a change of the cell; resetting the text then would throw
    // the caret back while the user is still typing the byte.
    if (CellText(edit) == text)
        return;
    edit->setText(text);
    edit->selectAll();
}

void ByteCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    auto *edit = static_cast<QLineEdit *>(editor);
    // The view also commits when the selection merely passes through a cell. A byte the user
    // has not typed into keeps its text as stored: the editor's mask would show "3f" as
    // "3F", and writing that back would change a loaded byte behind the user's back.
    if (!edit->isModified())
        return;
    model->setData(index, CellText(edit), Qt::EditRole);
}

void ByteCellDelegate::ByteEdited(QLineEdit *edit) const
{
    // Signals are not const; the editor's own signal is what drives this.
    auto *self = const_cast<ByteCellDelegate *>(this);
    emit self->commitData(edit);
    // The second digit completes the byte: on to the next cell, as in a spreadsheet, so a
    // row of bytes is typed as one run of digits.
    if (edit->cursorPosition() >= kBytePlaces && !edit->property(kLastCellProperty).toBool())
        emit self->closeEditor(edit, QAbstractItemDelegate::EditNextItem);
}

QString ByteCellDelegate::CellText(const QLineEdit *edit)
{
    QString text = edit->displayText();
    text.replace(kBlankShown, u' ');
    return text;
}

bool ByteCellDelegate::PassesKeyFilter(const QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false;
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        break;
    }
    const QString text = key->text();
    if (text.isEmpty())
        return true;
    return text.size() == 1 && IsDataCellChar(text[0]);
}

bool ByteCellDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QStyledItemDelegate::eventFilter(object, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (!PassesKeyFilter(key))
        return true;
    // Arrow keys move between cells, never between the two places of one cell: the grid,
    // not the cell's editor, gets them.
    auto *editor = qobject_cast<QWidget *>(object);
    if (IsArrowKey(key->key()) && editor) {
        if (QAbstractItemView *view = ViewOf(editor)) {
            QKeyEvent forwarded(key->type(), key->key(), key->modifiers(), key->text());
            QApplication::sendEvent(view, &forwarded);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
