#pragma once

#include "core/failure.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvel {

// Counts and indexes of records are 16-bit signed numbers.
inline constexpr int kMaxRecords = 32767;

// The units of one category, in file order: names and factors in parallel.
struct UnitTable {
    QStringList names;
    QList<double> factors;
};

// What a load read: the records in file order up to where the read stopped,
// and at most one problem: the failure that stopped it, or, for a file read
// whole, a refusal (FailureKind::Refused) saying why no edit rewrites the file
// as it was read. No problem: read whole, and an edit may rewrite it.
template <typename Records> struct Loaded {
    Records records;
    std::optional<Failure> problem;

    // The problem when it is a failure of the read; none for a refusal.
    std::optional<Failure> failure() const
    {
        return problem && problem->kind() != FailureKind::Refused ? problem : std::nullopt;
    }
};
using CategoryLoad = Loaded<QStringList>;
using UnitLoad = Loaded<UnitTable>;

// The text the store writes for a category list, and for a unit file.
QString categoryListText(const QStringList &names);
QString unitFileText(const UnitTable &units);

// The records of a category list's or a unit file's text, read as the loads
// read them; path names the file in a failure or refusal.
CategoryLoad parseCategories(const QString &text, const QString &path);
UnitLoad parseUnits(const QString &text, const QString &path);

// Throws Failure(Refused) unless text reads back as names (and, for a unit
// file, factors): a name from a hand-written file may hold a double quote
// or a line break, which the written form cannot carry.
void refuseUnlessReadsBack(const QString &path, const QString &text, const QStringList &names,
    const QList<double> *factors = nullptr);

// Appends the unit and makes the one ordering pass down to index 1 that keeps
// a sorted table sorted (UTF-16 code units, case significant, equal names
// never exchanged).
void insertUnitByName(UnitTable &units, const QString &name, double factor);

} // namespace quorvel
