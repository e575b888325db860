#include "ui/TargetListHandling.h"

#include <QListView>
#include <QMimeData>
#include <algorithm>
#include <string_view>
#include <utility>

#include "cut/TargetSearch.h"
#include "cut/UriList.h"
#include "ui/TargetListModel.h"

namespace kelmora {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");

}  // namespace

TargetListHandling::TargetListHandling(TargetListModel& model, QListView& list, QWidget& cutButton,
                                       std::function<std::string()> destination)
    : m_model(model), m_list(list), m_cutButton(cutButton), m_destination(std::move(destination))
{
}

void TargetListHandling::registerTargets(const std::vector<std::string>& paths)
{
    // One merge into the sorted list and one selection: name by name, 100,000
    // dropped files took minutes.
    m_model.addAll(findCutTargets(paths, m_destination ? m_destination() : std::string()));
    if (empty()) return;
    m_cutButton.setEnabled(true);
    select(0);
}

void TargetListHandling::dropTargets(const QMimeData& data)
{
    // Read the list's raw bytes: a file name that is not UTF-8 keeps its bytes.
    const QByteArray list = data.data(kUriList);
    registerTargets(parseUriList(std::string_view(list.constData(), static_cast<std::size_t>(list.size()))));
}

bool TargetListHandling::isTargetDrop(const QMimeData& data) { return data.hasFormat(kUriList); }

void TargetListHandling::removeSelected()
{
    const int row = selectedIndex();
    if (row < 0) return;
    m_model.removeAt(row);
    if (empty()) {
        m_cutButton.setEnabled(false);
        return;
    }
    m_list.selectionModel()->setCurrentIndex(m_model.index(std::min(row, m_model.rowCount() - 1)),
                                             QItemSelectionModel::ClearAndSelect);
}

void TargetListHandling::clear()
{
    m_model.clear();
    m_cutButton.setEnabled(false);
}

bool TargetListHandling::empty() const { return m_model.rowCount() == 0; }

int TargetListHandling::selectedIndex() const
{
    const QModelIndexList selected = m_list.selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.constLast().row();
}

std::string TargetListHandling::selectedTarget() const
{
    const int row = selectedIndex();
    return row >= 0 ? m_model.list().entries().at(static_cast<std::size_t>(row)) : std::string();
}

void TargetListHandling::showEntry(TargetList::Serial entry)
{
    const std::size_t row = m_model.list().indexOf(entry);
    if (row < m_model.list().size()) select(static_cast<int>(row));
}

void TargetListHandling::select(int row)
{
    const QModelIndex index = m_model.index(row);
    m_list.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_list.scrollTo(index);
}

}  // namespace kelmora
