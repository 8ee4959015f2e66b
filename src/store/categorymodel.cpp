#include "store/categorymodel.h"

namespace quorvel {

int CategoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_list.entries().size());
}

QVariant CategoryModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_list.entries().at(index.row());
}

void CategoryModel::reset(const std::function<void()> &change)
{
    beginResetModel();
    change();
    endResetModel();
}

void CategoryModel::replaceRow(qsizetype row, const std::function<void()> &change)
{
    change();
    const QModelIndex changed = index(int(row));
    Q_EMIT dataChanged(changed, changed, { Qt::DisplayRole, Qt::EditRole });
}

void CategoryModel::removeRow(qsizetype row, const std::function<void()> &change)
{
    beginRemoveRows({}, int(row), int(row));
    change();
    endRemoveRows();
}

} // namespace quorvel
