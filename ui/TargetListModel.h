#pragma once
// ListBox1's rows: the cut session's sorted target list, shown as text. The
// window changes the list through here, so the view follows every change.
// Entries keep their bytes; only what is shown may carry replacement characters.

#include <QAbstractListModel>

#include "cut/TargetList.h"

namespace kelmora {

class TargetListModel : public QAbstractListModel {
    Q_OBJECT
public:
    TargetListModel(TargetList& list, QObject* parent) : QAbstractListModel(parent), m_list(list) {}

    const TargetList& list() const { return m_list; }
    void addAll(std::vector<std::string> entries);
    void removeAt(int row);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    TargetList& m_list;
};

}  // namespace kelmora
