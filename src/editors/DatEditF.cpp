#include "DatEditF.h"

#include "ByteCellDelegate.h"
#include "DataCellInput.h"
#include "DataImageModel.h"
#include "DataUndo.h"
#include "EditorWindow.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTableView>
#include <QUndoStack>
#include <QVBoxLayout>

namespace {

constexpr int kVisibleRows = 4;
constexpr int kAllRows = 16;

int AddressOfCell(CellPosition cell)
{
    return (cell.row - 1) * 16 + (cell.column - 1);
}

} // namespace

TDataEditForm::TDataEditForm(MemoryImage &image, QWidget *parent)
    : QWidget(parent, Qt::Window), m_image(image)
{
    setObjectName(QStringLiteral("DataEditForm"));
    setWindowTitle(QStringLiteral("Data Memory Editor"));
    // Single border with the system menu and minimise button only; closing hides the window
    // and never ends the program.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    CreateGrid();
    CreatePopupMenu();
    FormCreate();
    CreateUndo();
}

void TDataEditForm::CreateUndo()
{
    DataUndoStack = new QUndoStack(this);
    DataUndoStack->setObjectName(QStringLiteral("DataUndoStack"));
    m_model->SetStore([this](int address, const QString &text) {
        DataUndoStack->push(
            new DataCellStep(m_image, m_applying, address, m_image.GetDataByteText(address), text));
    });
    // Anything else that changes the bytes (a file, a chip read) makes the steps stale.
    const auto changedElsewhere = [this] {
        if (!m_applying)
            DataUndoStack->clear();
    };
    connect(&m_image, &MemoryImage::dataCellChanged, this, changedElsewhere);
    connect(&m_image, &MemoryImage::dataImageFilled, this, changedElsewhere);

    UndoAction = new QAction(QStringLiteral("Undo"), this);
    UndoAction->setObjectName(QStringLiteral("UndoAction"));
    UndoAction->setShortcuts(QKeySequence::Undo);
    RedoAction = new QAction(QStringLiteral("Redo"), this);
    RedoAction->setObjectName(QStringLiteral("RedoAction"));
    RedoAction->setShortcuts(QKeySequence::Redo);
    for (QAction *action : {UndoAction, RedoAction}) {
        // Window-wide, the cell editor included, which would otherwise keep the keys.
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    DataPopupMenu->insertActions(Clear00, {UndoAction, RedoAction});
    DataPopupMenu->insertSeparator(Clear00);
    connect(UndoAction, &QAction::triggered, this, [this] {
        if (m_editable)
            DataUndoStack->undo();
    });
    connect(RedoAction, &QAction::triggered, this, [this] {
        if (m_editable)
            DataUndoStack->redo();
    });
    connect(DataUndoStack, &QUndoStack::canUndoChanged, this, &TDataEditForm::ShowUndoState);
    connect(DataUndoStack, &QUndoStack::canRedoChanged, this, &TDataEditForm::ShowUndoState);
    ShowUndoState();
}

void TDataEditForm::ShowUndoState()
{
    UndoAction->setEnabled(m_editable && DataUndoStack->canUndo());
    RedoAction->setEnabled(m_editable && DataUndoStack->canRedo());
}

void TDataEditForm::CreateGrid()
{
    m_model = new DataImageModel(m_image, this);
    DMemEditSG = new QTableView(this);
    DMemEditSG->setObjectName(QStringLiteral("DMemEditSG"));
    DMemEditSG->setModel(m_model);
    DMemEditSG->setItemDelegate(new ByteCellDelegate(DMemEditSG));
    StyleMemoryGrid(DMemEditSG, 2);
    DMemEditSG->setSelectionMode(QAbstractItemView::ContiguousSelection);
    // The selected cell is always open for typing, as in the old grid's always-shown editor.
    DMemEditSG->setEditTriggers(
        QAbstractItemView::CurrentChanged | QAbstractItemView::AnyKeyPressed |
        QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    DMemEditSG->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DMemEditSG->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The view's own handler has committed and closed the cell's editor by the time ours
    // runs, so the cell left behind holds its final text when it is completed.
    connect(DMemEditSG->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                DMemEditSGSelectCell(current, previous);
            });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(DMemEditSG);

    // Wide enough for all sixteen columns, tall enough for a few rows; the rest scrolls.
    // The user may pull it taller, up to all sixteen rows, but never narrower or shorter.
    const QSize initial = GridWindowSize(DMemEditSG, kVisibleRows);
    setMinimumSize(initial);
    setMaximumSize(initial.width(), GridWindowSize(DMemEditSG, kAllRows).height());
    resize(initial);
}

void TDataEditForm::CreatePopupMenu()
{
    DataPopupMenu = new QMenu(this);
    DataPopupMenu->setObjectName(QStringLiteral("DataPopupMenu"));
    DataPopupMenu->setToolTipsVisible(true);
    Clear00 =
        DataPopupMenu->addAction(QStringLiteral("Clear 00"), this, &TDataEditForm::Clear00Click);
    Clear00->setObjectName(QStringLiteral("Clear00"));
    Clear00->setToolTip(QStringLiteral("Clear all to 00"));
    Clear00->setStatusTip(Clear00->toolTip());
    SetFF = DataPopupMenu->addAction(QStringLiteral("Set    FF"), this, &TDataEditForm::SetFFClick);
    SetFF->setObjectName(QStringLiteral("SetFF"));
    SetFF->setToolTip(QStringLiteral("Set all to FF"));
    SetFF->setStatusTip(SetFF->toolTip());

    DMemEditSG->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DMemEditSG, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        DataPopupMenu->popup(DMemEditSG->viewport()->mapToGlobal(pos));
    });
}

void TDataEditForm::FormCreate()
{
    m_rememberedCell = {1, 1};
    m_image.FillDataImage(QStringLiteral("FF"));
    DMemEditSG->setCurrentIndex(m_model->index(0, 0));
}

void TDataEditForm::DMemEditSGSelectCell(const QModelIndex &current, const QModelIndex &previous)
{
    ShapeCell(m_rememberedCell);
    // A fill resets the remembered cell to the first one while the editor stays open where
    // it was; a byte half typed there after the fill must still be completed, or a blank
    // would stay in the image for the chip write and the file save to trip over.
    if (previous.isValid())
        ShapeCell({previous.column() + 1, previous.row() + 1});
    if (current.isValid())
        m_rememberedCell = {current.column() + 1, current.row() + 1};
}

void TDataEditForm::CompleteRememberedCell()
{
    ShapeCell(m_rememberedCell);
    const QModelIndex current = DMemEditSG->currentIndex();
    if (current.isValid())
        ShapeCell({current.column() + 1, current.row() + 1});
}

void TDataEditForm::ShapeCell(CellPosition cell)
{
    const int address = AddressOfCell(cell);
    const QString text = m_image.GetDataByteText(address);
    const QString shaped = ShapeByte(text);
    // The completion belongs to the typing of that byte: one step with it.
    if (shaped != text && DataUndoStack)
        DataUndoStack->push(new DataCellStep(m_image, m_applying, address, text, shaped));
    else if (shaped != text)
        m_image.SetDataByteText(address, shaped);
}

void TDataEditForm::SetEditable(bool editable)
{
    if (editable == m_editable)
        return;
    m_editable = editable;
    const QModelIndex current = DMemEditSG->currentIndex();
    if (!editable) {
        // Leaving the cell closes its editor and completes a byte half typed there, as a click
        // elsewhere would, before the work reads the image.
        DMemEditSG->setCurrentIndex(QModelIndex());
        CompleteRememberedCell();
    }
    m_model->SetEditable(editable);
    Clear00->setEnabled(editable);
    SetFF->setEnabled(editable);
    ShowUndoState();
    if (!editable)
        DMemEditSG->setCurrentIndex(current);
    else if (current.isValid() && isVisible())
        DMemEditSG->edit(current);
}

void TDataEditForm::Clear00Click()
{
    if (!m_editable)
        return;
    m_rememberedCell = {1, 1};
    DataUndoStack->push(new DataFillStep(m_image, m_applying, QStringLiteral("00")));
}

void TDataEditForm::SetFFClick()
{
    if (!m_editable)
        return;
    m_rememberedCell = {1, 1};
    DataUndoStack->push(new DataFillStep(m_image, m_applying, QStringLiteral("FF")));
}

void TDataEditForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_placed) {
        CentreOnScreen(this);
        m_placed = true;
    }
    // The current cell's editor opens only while the grid is visible; open it on every
    // showing so the user can type at once.
    if (DMemEditSG->currentIndex().isValid())
        DMemEditSG->edit(DMemEditSG->currentIndex());
}
