#pragma once

#include <QTest>

namespace quorvel::test {

// One row of a data table, its columns in the order they were added, so
// that a row with many short columns stays on one or two lines.
template <typename... Columns> void row(const char *name, const Columns &...columns)
{
    (QTest::newRow(name) << ... << columns);
}

} // namespace quorvel::test
