#include "benchdata.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace quorvel::bench {

QByteArray unitFileBytes(int count)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(count) * 23);
    char record[64];
    for (int i = 1; i <= count; ++i) {
        const int n
            = std::snprintf(record, sizeof record, "\"Unit %05d\",%.6f\r\n", i, 1.0 + i * 1e-6);
        bytes.append(record, n);
    }
    return bytes;
}

QByteArray categoryFileBytes(int count)
{
    std::vector<int> order(count);
    for (int i = 0; i < count; ++i)
        order[i] = i;
    std::mt19937 random(20240607);
    std::shuffle(order.begin(), order.end(), random);
    // Mixed case and a varying first letter, so that the case-insensitive
    // order differs from the plain code order.
    static const char *const stems[] = { "Area", "length", "Mass", "speed", "Time", "volume",
        "Energy", "power", "Force", "pressure", "Angle", "data" };
    QByteArray bytes;
    char record[64];
    for (int i : order) {
        const int n = std::snprintf(record, sizeof record, "\"%s %05d\"\r\n", stems[i % 12], i);
        bytes.append(record, n);
    }
    return bytes;
}

AppFolder::AppFolder()
{
    if (!m_dir.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        std::exit(1);
    }
}

QString AppFolder::filePath(const QString &name) const
{
    return m_dir.filePath(name);
}

void AppFolder::write(const QString &name, const QByteArray &bytes) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

} // namespace quorvel::bench
