#pragma once

#include "core/failure.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quorvel {

// The entry that edit mode adds to the category list and the from-list.
inline constexpr char16_t kNewEntryMarker[] = u"--> NEW <--";

// Why a new category name is refused; none when the name is acceptable.
// existing are the names the category list holds now.
std::optional<Reason> categoryNameProblem(const QString &name, const QStringList &existing);

// True for a category whose unit file would be a file of the program itself
// (conversion.txt, help.txt), letter case ignored.
bool namesProgramFile(const QString &category);

// Why a new unit name is refused; none when it is acceptable.
std::optional<Reason> unitNameProblem(const QString &name);

} // namespace quorvel
