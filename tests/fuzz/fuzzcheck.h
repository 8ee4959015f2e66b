#pragma once

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

// A property that every input must keep. A broken one prints what was
// expected and aborts, which libFuzzer and the corpus replay both report
// as a crash with the input that caused it.
#define FUZZ_CHECK(condition, ...)                                                                 \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            quorvel::fuzz::explain(__VA_ARGS__);                                                   \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace quorvel::fuzz {

inline void explain()
{
}

inline void explain(const QString &detail)
{
    std::fprintf(stderr, "%s\n", detail.toUtf8().constData());
}

inline void explain(const char *detail)
{
    std::fprintf(stderr, "%s\n", detail);
}

// True when b lies within 15 significant digits of a: the rounding of a to
// 15 digits moves it by at most half a unit in the 15th digit, and reading
// that text back may add half a unit in the last place of a double.
inline bool within15Digits(double a, double b)
{
    if (a == b)
        return true;
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    const double ulp
        = std::nextafter(std::fabs(a), std::numeric_limits<double>::infinity()) - std::fabs(a);
    return std::fabs(a - b) <= 5e-15 * std::fabs(a) + ulp;
}

inline QString bits(double value)
{
    return QString::number(value, 'g', 17);
}

} // namespace quorvel::fuzz
