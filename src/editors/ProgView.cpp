#include "ProgView.h"

#include "EditorWindow.h"
#include "ProgramImageModel.h"
#include "device/MemoryImage.h"

#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int kInitialRows = 8;
}

TProgViewForm::TProgViewForm(MemoryImage &image, const QString &blankWordText, QWidget *parent)
    : QWidget(parent, Qt::Window), m_image(image)
{
    setObjectName(QStringLiteral("ProgViewForm"));
    setWindowTitle(QStringLiteral("View Program Memory"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(MemoryGridFont());
    CreateGrid();
    CreatePopupMenu();
    // All sixteen words of a row in view without scrolling sideways; still freely sizeable.
    resize(GridWindowSize(PMemViewSG, kInitialRows));
    m_image.FillProgramImage(blankWordText);
}

void TProgViewForm::CreateGrid()
{
    m_model = new ProgramImageModel(m_image, this);
    PMemViewSG = new QTableView(this);
    PMemViewSG->setObjectName(QStringLiteral("PMemViewSG"));
    PMemViewSG->setModel(m_model);
    StyleMemoryGrid(PMemViewSG, 4);
    PMemViewSG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    PMemViewSG->setSelectionMode(QAbstractItemView::ContiguousSelection);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PMemViewSG);
}

void TProgViewForm::CreatePopupMenu()
{
    ProgPopupMenu = new QMenu(this);
    ProgPopupMenu->setObjectName(QStringLiteral("ProgPopupMenu"));
    ProgPopupMenu->setToolTipsVisible(true);
    const auto addItem = [this](const char *name, const QString &caption, const QString &hint,
                                void (TProgViewForm::*handler)()) {
        QAction *action = ProgPopupMenu->addAction(caption, this, handler);
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(hint);
        action->setStatusTip(hint);
        return action;
    };
    Clear0000 = addItem("Clear0000", QStringLiteral("Clear 0000"),
                        QStringLiteral("Clear all memory to 0000"), &TProgViewForm::Clear0000Click);
    Set0FFF = addItem("Set0FFF", QStringLiteral("Set   0FFF"),
                      QStringLiteral("Set all memory to 0FFF"), &TProgViewForm::Set0FFFClick);
    Set3FFF = addItem("Set3FFF", QStringLiteral("Set   3FFF"),
                      QStringLiteral("Set all memory to 3FFF"), &TProgViewForm::Set3FFFClick);

    PMemViewSG->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PMemViewSG, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        ProgPopupMenu->popup(PMemViewSG->viewport()->mapToGlobal(pos));
    });
}

void TProgViewForm::Clear0000Click()
{
    if (!m_editable)
        return;
    m_image.FillProgramImage(QStringLiteral("0000"));
}

void TProgViewForm::Set0FFFClick()
{
    if (!m_editable)
        return;
    m_image.FillProgramImage(QStringLiteral("0FFF"));
}

void TProgViewForm::Set3FFFClick()
{
    if (!m_editable)
        return;
    m_image.FillProgramImage(QStringLiteral("3FFF"));
}

void TProgViewForm::SetEditable(bool editable)
{
    m_editable = editable;
    for (QAction *fill : {Clear0000, Set0FFF, Set3FFF})
        fill->setEnabled(editable);
}

void TProgViewForm::SetLastProgramAddress(int address)
{
    m_model->SetLastProgramAddress(address);
}

void TProgViewForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_placed) {
        if (const QScreen *shownOn = screen())
            resize(FitToScreen(size(), shownOn->availableGeometry()));
        CentreOnScreen(this);
        m_placed = true;
    }
}
