#include "ui/TargetListModel.h"

#include "controls/TextBytes.h"

namespace kelmora {

void TargetListModel::addAll(std::vector<std::string> entries)
{
    if (entries.empty()) return;
    if (entries.size() == 1) {
        // One row: tell the view where it went, so the rest keeps its state.
        const auto row = static_cast<int>(m_list.placeFor(entries.front()));
        beginInsertRows(QModelIndex(), row, row);
        m_list.add(std::move(entries.front()));
        endInsertRows();
        return;
    }
    beginResetModel();
    m_list.addAll(std::move(entries));
    endResetModel();
}

void TargetListModel::removeAt(int row)
{
    if (row < 0 || row >= rowCount()) return;
    beginRemoveRows(QModelIndex(), row, row);
    m_list.removeAt(static_cast<std::size_t>(row));
    endRemoveRows();
}

void TargetListModel::clear()
{
    if (m_list.empty()) return;
    beginResetModel();
    m_list.clear();
    endResetModel();
}

int TargetListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_list.size());
}

QVariant TargetListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    const std::string& entry = m_list.at(static_cast<std::size_t>(index.row()));
    return fromSystemBytes(entry);
}

}  // namespace kelmora
