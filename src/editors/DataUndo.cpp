#include "DataUndo.h"

#include "device/MemoryImage.h"

DataCellStep::DataCellStep(MemoryImage &image, bool &applying, int address, const QString &before,
                           const QString &after)
    : m_image(image), m_applying(applying), m_address(address), m_before(before), m_after(after)
{
    setText(QStringLiteral("Typing at %1").arg(address, 2, 16, QLatin1Char('0')).toUpper());
}

void DataCellStep::Store(const QString &text)
{
    m_applying = true;
    m_image.SetDataByteText(m_address, text);
    m_applying = false;
}

void DataCellStep::redo()
{
    Store(m_after);
}

void DataCellStep::undo()
{
    Store(m_before);
}

bool DataCellStep::mergeWith(const QUndoCommand *other)
{
    // The two digits of a byte, and the completion of a half-typed one, are one step.
    const auto *next = static_cast<const DataCellStep *>(other);
    if (next->m_address != m_address)
        return false;
    m_after = next->m_after;
    return true;
}

DataFillStep::DataFillStep(MemoryImage &image, bool &applying, const QString &text)
    : m_image(image), m_applying(applying), m_text(text)
{
    setText(QStringLiteral("Fill with %1").arg(text));
    for (int a = 0; a < MemoryImage::kDataBytes; ++a)
        m_before[a] = image.GetDataByteText(a);
}

void DataFillStep::redo()
{
    m_applying = true;
    m_image.FillDataImage(m_text);
    m_applying = false;
}

void DataFillStep::undo()
{
    m_applying = true;
    for (int a = 0; a < MemoryImage::kDataBytes; ++a)
        m_image.SetDataByteText(a, m_before[a]);
    m_applying = false;
}
