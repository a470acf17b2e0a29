#include "ByteCellDelegate.h"

#include "DataCellInput.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

constexpr QChar kBlankShown = u'_';

} // namespace

QWidget *ByteCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                        const QModelIndex &) const
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("DMemCellEdit"));
    // Two places, hex digits only, turned to upper case as typed; typing overwrites in place.
    edit->setInputMask(QStringLiteral(">hh;") + kBlankShown);
    edit->setFrame(false);
    edit->setAlignment(Qt::AlignCenter);
    // Right-clicking the cell opens the grid's own menu, not the line edit's.
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    connect(edit, &QLineEdit::textEdited, this,
            [this, edit] { emit const_cast<ByteCellDelegate *>(this)->commitData(edit); });
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
    if (event->type() == QEvent::KeyPress && !PassesKeyFilter(static_cast<QKeyEvent *>(event)))
        return true;
    return QStyledItemDelegate::eventFilter(object, event);
}
