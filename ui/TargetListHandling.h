#pragma once
// What the window does with its list of targets: registers paths (given,
// dropped or added through the menu) as one insert, keeps an entry selected
// and in view, removes the selected entry or all of them, and keeps the cut
// button on exactly while the list holds an entry.

#include <functional>
#include <string>
#include <vector>

#include "cut/TargetList.h"

class QListView;
class QMimeData;
class QWidget;

namespace kelmora {

class TargetListModel;

class TargetListHandling {
public:
    // destination: the folder the images go into now, which no folder target
    // registers (nor anything in it).
    TargetListHandling(TargetListModel& model, QListView& list, QWidget& cutButton,
                       std::function<std::string()> destination = {});

    // Registers each path, in the order given, as one insert into the sorted
    // list, then selects the list's first entry; a missing path adds nothing.
    void registerTargets(const std::vector<std::string>& paths);
    // Registers every local file of a drop (text/uri-list), in the order given.
    void dropTargets(const QMimeData& data);
    static bool isTargetDrop(const QMimeData& data);
    // Removes the selected entry and selects the one that takes its place.
    void removeSelected();
    void clear();

    bool empty() const;
    // The selected entry's row, or -1; its path, or empty.
    int selectedIndex() const;
    std::string selectedTarget() const;
    // Selects entry and brings it into view, when the list still holds it.
    void showEntry(TargetList::Serial entry);

private:
    void select(int row);

    TargetListModel& m_model;
    QListView& m_list;
    QWidget& m_cutButton;
    std::function<std::string()> m_destination;
};

}  // namespace kelmora
