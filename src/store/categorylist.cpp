#include "store/categorylist.h"

#include <QCollator>

#include <algorithm>
#include <vector>

namespace quorvel {

namespace {

// The places of names in list order. Sort keys are computed once per name,
// not per comparison, and the sort moves plain indexes, not the keys.
std::vector<qsizetype> listOrder(const QStringList &names)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<qsizetype> order(names.size());
    for (qsizetype i = 0; i < names.size(); ++i)
        order[i] = i;
    const bool cLocale = collator.locale().language() == QLocale::C;
#ifdef Q_OS_WIN
    // Qt's sort keys there do not order as its comparison does (seen with
    // Qt 6.4, where "_under" sorted after "Area"): compare directly.
    const bool byKeys = false;
#else
    // The C locale's sort keys are the plain code units, case and all,
    // while its comparison ignores case: compare directly.
    const bool byKeys = !cLocale;
#endif
    if (!byKeys) {
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return cLocale ? names[a].compare(names[b], Qt::CaseInsensitive) < 0
                           : collator.compare(names[a], names[b]) < 0;
        });
        return order;
    }
    std::vector<QCollatorSortKey> keys;
    keys.reserve(names.size());
    for (const QString &name : names)
        keys.push_back(collator.sortKey(name));
    std::stable_sort(order.begin(), order.end(),
        [&keys](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]) < 0; });
    return order;
}

} // namespace

void CategoryList::assign(const QStringList &names, bool offerMarker)
{
    QStringList all = names;
    if (offerMarker)
        all.append(QString::fromUtf16(kNewEntryMarker));
    m_entries.clear();
    m_entries.reserve(all.size());
    m_marker = -1;
    m_chosen = -1;
    for (const qsizetype i : listOrder(all)) {
        if (offerMarker && i == names.size())
            m_marker = m_entries.size();
        m_entries.append(all[i]);
    }
}

QStringList CategoryList::categories() const
{
    QStringList names = m_entries;
    if (m_marker >= 0)
        names.removeAt(m_marker);
    return names;
}

void CategoryList::choose(qsizetype index)
{
    m_chosen = index >= 0 && index < m_entries.size() ? index : -1;
}

std::optional<QString> CategoryList::chosenCategory() const
{
    if (m_chosen < 0 || m_chosen == m_marker)
        return std::nullopt;
    return m_entries[m_chosen];
}

void CategoryList::replaceChosenMarker(const QString &name)
{
    Q_ASSERT(markerChosen());
    m_entries[m_chosen] = name;
    m_marker = -1;
}

void CategoryList::removeChosen()
{
    Q_ASSERT(chosenCategory());
    m_entries.removeAt(m_chosen);
    if (m_marker > m_chosen)
        --m_marker;
    m_chosen = -1;
}

} // namespace quorvel
