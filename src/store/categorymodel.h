#pragma once

#include "store/categorylist.h"

#include <QAbstractListModel>

#include <functional>

namespace quorvel {

// The store's category list as Qt's item views show it: one read-only row
// per entry in list order, the marker included. It holds no copy: the store
// changes the list through it, and the views hear of each change.
class CategoryModel : public QAbstractListModel {
public:
    explicit CategoryModel(const CategoryList &list)
        : m_list(list)
    {
    }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Each runs change, which changes the list so, between the notices the
    // views need.
    void reset(const std::function<void()> &change);
    void replaceRow(qsizetype row, const std::function<void()> &change);
    void removeRow(qsizetype row, const std::function<void()> &change);

private:
    const CategoryList &m_list;
};

} // namespace quorvel
