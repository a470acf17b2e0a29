#include "MemoryImage.h"

CellPosition ProgramCell(uint16_t address)
{
    return {address % 16 + 1, address / 16 + 1};
}

CellPosition DataCell(uint16_t address)
{
    return {address % 16 + 1, address / 16 + 1};
}

MemoryImage::MemoryImage(QObject *parent) : QObject(parent)
{
    m_program.fill(QStringLiteral("3FFF"));
    m_data.fill(QStringLiteral("FF"));
}

QString MemoryImage::GetProgramWordText(int address) const
{
    if (address < 0 || address >= kProgramWords)
        return {};
    return m_program[static_cast<size_t>(address)];
}

void MemoryImage::SetProgramWordText(int address, const QString &text)
{
    if (address < 0 || address >= kProgramWords)
        return;
    m_program[static_cast<size_t>(address)] = text;
    emit programCellChanged(address);
}

QString MemoryImage::GetDataByteText(int address) const
{
    if (address < 0 || address >= kDataBytes)
        return {};
    return m_data[static_cast<size_t>(address)];
}

void MemoryImage::SetDataByteText(int address, const QString &text)
{
    if (address < 0 || address >= kDataBytes)
        return;
    m_data[static_cast<size_t>(address)] = text;
    emit dataCellChanged(address);
}

void MemoryImage::FillProgramImage(const QString &text)
{
    m_program.fill(text);
    emit programImageFilled();
}

void MemoryImage::FillDataImage(const QString &text)
{
    m_data.fill(text);
    emit dataImageFilled();
}
