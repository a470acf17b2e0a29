#include "EditorWindow.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QTableView>

namespace {

// The column headers carry leading blanks (" 0", "  0") as the old grid drew them left
// aligned; centred over a word, those blanks would push the digit off the word's middle.
class CentredHeader : public QHeaderView
{
public:
    using QHeaderView::QHeaderView;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const override
    {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        option->text = option->text.trimmed();
    }
};

} // namespace

QFont MemoryGridFont()
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

void StyleMemoryGrid(QTableView *grid, int cellTextChars)
{
    grid->setHorizontalHeader(new CentredHeader(Qt::Horizontal, grid));
    grid->setFont(MemoryGridFont());
    grid->setFrameShape(QFrame::NoFrame);
    grid->setShowGrid(false);
    // The cells take the desktop's colours, so a dark theme shows light digits on a dark grid
    // like the rest of the window.

    // Cells just wide enough for their digits, as in a string grid, not stretched.
    const QFontMetrics metrics(grid->font());
    const int cellWidth = metrics.horizontalAdvance(QString(cellTextChars + 1, u'0')) + 4;
    const int rowHeight = metrics.height() + 4;
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setDefaultSectionSize(cellWidth);
    grid->horizontalHeader()->setMinimumSectionSize(cellWidth);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->verticalHeader()->setMinimumSectionSize(rowHeight);
    grid->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

void CentreOnScreen(QWidget *window)
{
    if (const QScreen *screen = window->screen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

QSize GridWindowSize(const QTableView *grid, int rows)
{
    const int width = grid->verticalHeader()->sizeHint().width() +
                      16 * grid->horizontalHeader()->defaultSectionSize() +
                      grid->verticalScrollBar()->sizeHint().width() + 2;
    const int height = grid->horizontalHeader()->sizeHint().height() +
                       rows * grid->verticalHeader()->defaultSectionSize() + 2;
    return {width, height};
}

QSize FitToScreen(QSize wanted, const QRect &available)
{
    return wanted.boundedTo(available.size());
}
