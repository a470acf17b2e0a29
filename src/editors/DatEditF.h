#pragma once

#include "device/MemoryImage.h"

#include <QWidget>

class DataImageModel;
class QAction;
class QMenu;
class QModelIndex;
class QTableView;
class QUndoStack;

// The data memory editor: the 256 EEPROM bytes of the image, edited in place as two hex
// digits per cell. The window is created once and only hidden when closed, so the bytes
// survive between showings.
class TDataEditForm : public QWidget
{
    Q_OBJECT
public:
    explicit TDataEditForm(MemoryImage &image, QWidget *parent = nullptr);

    void Clear00Click();
    void SetFFClick();
    // While chip work reads or fills the image, the bytes can be looked at but not typed over
    // or filled.
    void SetEditable(bool editable);
    bool Editable() const { return m_editable; }

    // Completes the cell the user is typing into (ShapeByte), and the remembered cell, for
    // readers of the image that run while a byte is half typed.
    void CompleteRememberedCell();
    // The cell completed when the selection leaves it, as (column, row) with headers at 0.
    CellPosition RememberedCell() const { return m_rememberedCell; }

    QTableView *DMemEditSG = nullptr;
    QMenu *DataPopupMenu = nullptr;
    QAction *Clear00 = nullptr;
    QAction *SetFF = nullptr;
    // Typed bytes and fills, taken back and done again (Ctrl+Z, Ctrl+Y); a file load or a
    // chip read in between starts the history afresh.
    QUndoStack *DataUndoStack = nullptr;
    QAction *UndoAction = nullptr;
    QAction *RedoAction = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void CreateGrid();
    void CreatePopupMenu();
    void DMemEditSGSelectCell(const QModelIndex &current, const QModelIndex &previous);
    void ShapeCell(CellPosition cell);
    void CreateUndo();
    void ShowUndoState();

    MemoryImage &m_image;
    DataImageModel *m_model = nullptr;
    CellPosition m_rememberedCell{1, 1};
    bool m_placed = false;
    bool m_editable = true;
    bool m_applying = false; // a step of the editor's own changes the image
};
