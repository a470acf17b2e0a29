#pragma once

#include <QStyledItemDelegate>

class QKeyEvent;
class QLineEdit;

// The in-place editor of a data memory cell. It works like a two-place masked field: typed
// hex digits overwrite the places in turn and show in upper case, a place the user has not
// filled is shown as "_" and stored as a blank, and every change goes into the image at
// once, so the image always holds what is on the screen. As in a spreadsheet, typing starts
// at the first place, the second digit moves on to the next cell, and arrow keys move
// between cells.
class ByteCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

    // The cell text an editor stands for: its two places, blanks where nothing is typed.
    static QString CellText(const QLineEdit *edit);
    // The cell editor's key filter: hex digits and keys that carry no character (arrows,
    // Delete, Tab) pass; Backspace, Enter, Escape and every other character are discarded.
    static bool PassesKeyFilter(const QKeyEvent *key);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    void ByteEdited(QLineEdit *edit) const;
};
