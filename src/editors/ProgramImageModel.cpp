#include "ProgramImageModel.h"

#include "device/HexText.h"
#include "device/MemoryImage.h"

#include <QApplication>
#include <QBrush>
#include <QPalette>

ProgramImageModel::ProgramImageModel(const MemoryImage &image, QObject *parent)
    : QAbstractTableModel(parent), m_image(image)
{
    connect(&m_image, &MemoryImage::programCellChanged, this, &ProgramImageModel::CellChanged);
    connect(&m_image, &MemoryImage::programImageFilled, this, &ProgramImageModel::ImageFilled);
}

int ProgramImageModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kRows;
}

int ProgramImageModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant ProgramImageModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return m_image.GetProgramWordText(AddressOf(index));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    // Past the chip's last word: the desktop's own dimmed text on its alternate base, which
    // every theme keeps readable, light or dark.
    if (AddressOf(index) > m_lastProgramAddress) {
        const QPalette palette = QApplication::palette();
        if (role == Qt::ForegroundRole)
            return QBrush(palette.color(QPalette::Disabled, QPalette::Text));
        if (role == Qt::BackgroundRole)
            return QBrush(palette.color(QPalette::AlternateBase));
    }
    return {};
}

void ProgramImageModel::SetLastProgramAddress(int address)
{
    if (address == m_lastProgramAddress)
        return;
    m_lastProgramAddress = address;
    emit dataChanged(index(0, 0), index(kRows - 1, kColumns - 1),
                     {Qt::ForegroundRole, Qt::BackgroundRole});
}

QVariant ProgramImageModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || section < 0)
        return {};
    if (orientation == Qt::Horizontal && section < kColumns)
        return QStringLiteral("  ") + FormatHex(static_cast<uint32_t>(section), 1);
    if (orientation == Qt::Vertical && section < kRows)
        return FormatHex(static_cast<uint32_t>(section) * 16, 4);
    return {};
}

Qt::ItemFlags ProgramImageModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void ProgramImageModel::CellChanged(int address)
{
    const QModelIndex cell = IndexOf(address);
    emit dataChanged(cell, cell, {Qt::DisplayRole});
}

void ProgramImageModel::ImageFilled()
{
    emit dataChanged(index(0, 0), index(kRows - 1, kColumns - 1), {Qt::DisplayRole});
}
