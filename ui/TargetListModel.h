#pragma once
// ListBox1's rows: the cut session's sorted target list, shown as text. The
// window changes the list through here, so the view follows every change.
// Entries keep their bytes; only what is shown may carry replacement characters.

#include <QAbstractListModel>
#include <QString>
#include <cstddef>
#include <unordered_map>

#include "cut/TargetList.h"

namespace kelmora {

// What became of an entry in the batch, shown before its path.
struct EntryState {
    enum class Kind { Cutting, Done, Failed, Skipped };
    Kind kind = Kind::Cutting;
    int percent = -1;        // Cutting: how far the run is; -1 unknown
    std::size_t images = 0;  // Done: the images written
    QString reason;          // Failed: why
    QString note;            // Done: what else the run says (repeats left out, no key frames)
};

class TargetListModel : public QAbstractListModel {
    Q_OBJECT
public:
    TargetListModel(TargetList& list, QObject* parent) : QAbstractListModel(parent), m_list(list) {}

    const TargetList& list() const { return m_list; }
    void addAll(std::vector<std::string> entries);
    void removeAt(int row);
    void clear();

    // The batch's states. Entries without one show "waiting" while a batch
    // runs, and their path alone otherwise: a list no batch has run on looks
    // as it always did. The view hears of state changes on refreshStates().
    void startStates();  // a batch begins: every state goes, every entry waits
    void setState(TargetList::Serial entry, EntryState state);
    void endStates();  // the batch ended: what never ran waits no more
    void refreshStates();
    // The state shown before the entry's path; empty when it has none.
    QString stateText(TargetList::Serial entry) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    TargetList& m_list;
    std::unordered_map<TargetList::Serial, EntryState> m_states;
    bool m_waiting = false;  // a batch runs: entries without a state wait
};

}  // namespace kelmora
