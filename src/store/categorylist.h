#pragma once

#include "store/names.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quorvel {

// The category list as the window shows it: the category names in list
// order, the new-entry marker where it sorts while edit mode offers it, and
// the entry the user chose. The marker is known by its place, so a category
// that happens to bear its text stays a category.
class CategoryList {
public:
    // The names, read in file order, in list order: alphabetically by the
    // locale's collation, letter case ignored, equal names in file order.
    // With offerMarker the marker takes its place among them. Nothing is
    // chosen.
    void assign(const QStringList &names, bool offerMarker);

    // Every entry in list order, the marker included.
    const QStringList &entries() const { return m_entries; }
    // The categories in list order without the marker: what the category
    // list file holds after an edit.
    QStringList categories() const;
    qsizetype markerIndex() const { return m_marker; } // -1 when not offered

    // The entry the user chose, by its place in entries(); -1 (or any place
    // outside the list) chooses nothing.
    void choose(qsizetype index);
    qsizetype chosen() const { return m_chosen; }
    bool markerChosen() const { return m_chosen >= 0 && m_chosen == m_marker; }
    // The chosen category's name; none while nothing or the marker is chosen.
    std::optional<QString> chosenCategory() const;

    // The name takes the place of the chosen marker and stays chosen; the
    // marker is offered no more. Only while the marker is chosen.
    void replaceChosenMarker(const QString &name);
    // The chosen category leaves the list and nothing is chosen. Only while a
    // category is chosen.
    void removeChosen();

private:
    QStringList m_entries;
    qsizetype m_marker = -1;
    qsizetype m_chosen = -1;
};

} // namespace quorvel
