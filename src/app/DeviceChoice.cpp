#include "DeviceChoice.h"

#include "ControlFactory.h"
#include "PartMarks.h"
#include "device/catalogue/CatalogueInUse.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

const QString kSelectorHint = QStringLiteral("Device (type to find a part)");

} // namespace

DeviceChoice::DeviceChoice(QObject *parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DeviceChoice"));
    DeviceSelector = Named(new QComboBox, "DeviceSelector");
    // Editable only to find a part: typed text is never a part of its own.
    DeviceSelector->setEditable(true);
    DeviceSelector->setInsertPolicy(QComboBox::NoInsert);
    DeviceSelector->setToolTip(kSelectorHint);
    DeviceSelector->setAccessibleName(QStringLiteral("Device"));
    DeviceSelector->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    FillList();
    DeviceSelector->setMaxVisibleItems(20);

    m_completer = new QCompleter(DeviceSelector->model(), this);
    m_completer->setObjectName(QStringLiteral("DeviceFinder"));
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setFilterMode(Qt::MatchContains);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    m_completer->setMaxVisibleItems(12);
    DeviceSelector->setCompleter(m_completer);
    DeviceSelector->lineEdit()->installEventFilter(this);
    DeviceSelector->installEventFilter(this);
    // Enter reaches the line edit whichever way it came (the finder's popup passes it on).
    connect(DeviceSelector->lineEdit(), &QLineEdit::returnPressed, this, &DeviceChoice::PickTyped);

    // "activated" comes only from the user's pick (the list, an arrow key, the finder), never
    // from the program's own changes.
    connect(DeviceSelector, &QComboBox::activated, this, [this] {
        if (DeviceSelector->currentIndex() >= 0)
            emit DeviceSelectorChange();
    });
}

void DeviceChoice::FillList()
{
    for (const PartDefinition &part : CatalogueInUse().parts) {
        const PartMarks marks = MarksOf(part);
        const int row = DeviceSelector->count();
        if (marks.unconfirmed)
            DeviceSelector->addItem(GlyphIcon(QStringLiteral("part-unconfirmed")), part.name);
        else if (marks.userFile)
            DeviceSelector->addItem(GlyphIcon(QStringLiteral("part-user")), part.name);
        else
            DeviceSelector->addItem(part.name);
        if (marks.Any()) {
            DeviceSelector->setItemData(row, MarkText(marks), Qt::ToolTipRole);
            DeviceSelector->setItemData(row, MarkText(marks), Qt::AccessibleDescriptionRole);
        }
    }
}

QWidget *DeviceChoice::Selector() const
{
    return DeviceSelector;
}

bool DeviceChoice::Select(const QString &name)
{
    const std::optional<DeviceRecord> found = FindDevice(name);
    if (found)
        m_device = *found;
    ShowCurrent();
    return found.has_value();
}

void DeviceChoice::ShowCurrent()
{
    // The empty record has no item: the selector then shows no text.
    const int index =
        DeviceSelector->findText(m_device.DeviceName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    DeviceSelector->setCurrentIndex(index);
    DeviceSelector->setEditText(index >= 0 ? m_device.DeviceName : QString());
    ShowMark();
}

void DeviceChoice::ShowMark()
{
    const QString mark =
        DeviceSelector->itemData(DeviceSelector->currentIndex(), Qt::ToolTipRole).toString();
    DeviceSelector->setToolTip(mark.isEmpty() ? kSelectorHint
                                              : kSelectorHint + QLatin1Char('\n') + mark);
}

QString DeviceChoice::SelectorText() const
{
    return DeviceSelector->itemText(DeviceSelector->currentIndex());
}

void DeviceChoice::Pick(int index)
{
    if (index < 0)
        return;
    DeviceSelector->setCurrentIndex(index);
    DeviceSelector->setEditText(DeviceSelector->itemText(index));
    emit DeviceSelectorChange();
}

void DeviceChoice::PickTyped()
{
    if (DeviceSelector->currentText() == SelectorText())
        return; // the finder has picked already, or nothing was typed
    QStringList names;
    for (int i = 0; i < DeviceSelector->count(); ++i)
        names << DeviceSelector->itemText(i);
    const std::optional<QString> named = PartNamedBy(names, DeviceSelector->currentText());
    if (!named)
        return;
    m_completer->popup()->hide();
    Pick(DeviceSelector->findText(*named, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

bool DeviceChoice::eventFilter(QObject *watched, QEvent *event)
{
    // The selector has the focus and hands keys to its line edit; tests and the finder's popup
    // may send them to the line edit itself.
    if (watched != DeviceSelector && watched != DeviceSelector->lineEdit())
        return false;
    const bool typedText = DeviceSelector->currentText() != SelectorText();
    if (event->type() == QEvent::FocusOut) {
        // Half-typed text is not a choice; a popup of the selector's own keeps it.
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason && typedText)
            ShowCurrent();
        return false;
    }
    if (event->type() == QEvent::KeyPress && typedText &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        ShowCurrent();
        DeviceSelector->lineEdit()->selectAll();
        return true;
    }
    return false;
}
