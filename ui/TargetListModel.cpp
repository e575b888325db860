#include "ui/TargetListModel.h"

#include <utility>

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

void TargetListModel::startStates()
{
    m_states.clear();
    m_waiting = true;
}

void TargetListModel::setState(TargetList::Serial entry, EntryState state) { m_states[entry] = std::move(state); }

void TargetListModel::endStates() { m_waiting = false; }

void TargetListModel::refreshStates()
{
    if (rowCount() > 0) emit dataChanged(index(0), index(rowCount() - 1), {Qt::DisplayRole});
}

QString TargetListModel::stateText(TargetList::Serial entry) const
{
    const auto found = m_states.find(entry);
    if (found == m_states.end()) return m_waiting ? QStringLiteral("［待機中］") : QString();
    const EntryState& state = found->second;
    switch (state.kind) {
    case EntryState::Kind::Cutting:
        return state.percent < 0 ? QStringLiteral("［カット中］")
                                 : QStringLiteral("［カット中 %1%］").arg(state.percent);
    case EntryState::Kind::Done:
        if (!state.note.isEmpty()) return QStringLiteral("［完了 %1枚 %2］").arg(state.images).arg(state.note);
        return QStringLiteral("［完了 %1枚］").arg(state.images);
    case EntryState::Kind::Failed: return QStringLiteral("［失敗：%1］").arg(state.reason);
    case EntryState::Kind::Skipped: return QStringLiteral("［スキップ］");
    }
    return {};
}

QVariant TargetListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const QString path = fromSystemBytes(m_list.at(row));
    const QString state = stateText(m_list.serialAt(row));
    return state.isEmpty() ? QVariant(path) : QVariant(state + path);
}

}  // namespace kelmora
