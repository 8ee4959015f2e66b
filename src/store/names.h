#pragma once

#include <QString>
#include <QStringList>

namespace quorvel {

// The entry that edit mode adds to the category list and the from-list.
inline constexpr char16_t kNewEntryMarker[] = u"--> NEW <--";

// The reason a new category name is refused, or an empty string when the
// name is acceptable. existing are the names the category list holds now.
QString categoryNameProblem(const QString &name, const QStringList &existing);

// True for a category whose unit file would be a file of the program itself
// (conversion.txt, help.txt), letter case ignored.
bool namesProgramFile(const QString &category);

// The reason a new unit name is refused, or an empty string.
QString unitNameProblem(const QString &name);

} // namespace quorvel
