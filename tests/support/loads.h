#pragma once

#include "store/datastore.h"

namespace quorvel::test {

// The records of a load that must read its file whole; its failure is
// thrown otherwise, which fails the test.
template <typename Records> Records whole(Loaded<Records> loaded)
{
    if (const std::optional<Failure> failure = loaded.failure())
        throw *failure;
    return std::move(loaded.records);
}

} // namespace quorvel::test
