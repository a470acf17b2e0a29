#include "DataImageModel.h"

#include "DataCellInput.h"
#include "device/HexText.h"
#include "device/MemoryImage.h"

namespace {

constexpr int kSide = 16;

// A cell may hold hex digits and, while a byte is half typed, blanks; never anything else.
bool IsCellText(const QString &text)
{
    if (text.size() > 2)
        return false;
    for (const QChar ch : text) {
        if (ch != u' ' && !IsDataCellChar(ch))
            return false;
    }
    return true;
}

} // namespace

DataImageModel::DataImageModel(MemoryImage &image, QObject *parent)
    : QAbstractTableModel(parent), m_image(image)
{
    connect(&m_image, &MemoryImage::dataCellChanged, this, &DataImageModel::CellChanged);
    connect(&m_image, &MemoryImage::dataImageFilled, this, &DataImageModel::ImageFilled);
}

int DataImageModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kSide;
}

int DataImageModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kSide;
}

QVariant DataImageModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_image.GetDataByteText(AddressOf(index));
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

bool DataImageModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const QString text = value.toString();
    if (!m_editable || !index.isValid() || role != Qt::EditRole || !IsCellText(text))
        return false;
    if (m_store)
        m_store(AddressOf(index), text);
    else
        m_image.SetDataByteText(AddressOf(index), text);
    return true;
}

void DataImageModel::SetStore(std::function<void(int, const QString &)> store)
{
    m_store = std::move(store);
}

QVariant DataImageModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || section < 0 || section >= kSide)
        return {};
    const QString digit = FormatHex(static_cast<uint32_t>(section), 1);
    if (orientation == Qt::Horizontal)
        return QStringLiteral(" ") + digit;
    return digit + QStringLiteral("0");
}

Qt::ItemFlags DataImageModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return m_editable ? flags | Qt::ItemIsEditable : flags;
}

void DataImageModel::SetEditable(bool editable)
{
    m_editable = editable;
    emit dataChanged(index(0, 0), index(kSide - 1, kSide - 1));
}

void DataImageModel::CellChanged(int address)
{
    const QModelIndex cell = IndexOf(address);
    emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::EditRole});
}

void DataImageModel::ImageFilled()
{
    emit dataChanged(index(0, 0), index(kSide - 1, kSide - 1), {Qt::DisplayRole, Qt::EditRole});
}
