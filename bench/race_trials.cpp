// Another program saves a unit file while Quorvel adds a unit to it, on a
// real file system, as many times as asked; prints how many of the other
// program's saves were lost. The other program is a child process that
// starts at a random moment within the first 10 ms of the edit and saves:
//   rename   a new file renamed over the old one
//   inplace  the file opened with truncation, written 300 us later (the
//            file starts empty, as a category just added)
//   held     through a descriptor opened before the edit, 0.5 ms after it
//
//   bench_race_trials FOLDER rename|inplace|held TRIALS

#include "core/failure.h"
#include "store/datastore.h"
#include "support/files.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorvel;
using quorvel::test::put;

namespace {

const QByteArray kUnits = "\"Days\",86400\r\n\"Hours\",3600\r\n";
const QByteArray kSaved = "\"Weeks\",604800\r\n";

// The other program's save; runs in the child.
void save(const QByteArray &mode, const QByteArray &file, int held, const QByteArray &before)
{
    if (mode == "rename") {
        const QByteArray saved = file + ".saved";
        put(QString::fromLocal8Bit(saved), before + kSaved);
        ::rename(saved.constData(), file.constData());
    } else if (mode == "inplace") {
        const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::usleep(300);
        if (::write(fd, kSaved.constData(), size_t(kSaved.size())) < 0)
            std::perror("write");
        ::close(fd);
    } else {
        ::usleep(500);
        if (::write(held, kSaved.constData(), size_t(kSaved.size())) < 0)
            std::perror("write");
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FOLDER rename|inplace|held TRIALS\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QByteArray mode = argv[2];
    const int trials = std::atoi(argv[3]);
    const QByteArray before = mode == "inplace" ? QByteArray() : kUnits;
    int lost = 0, refused = 0;
    for (int i = 0; i < trials; ++i) {
        DataStore store(folder);
        const QString path = store.unitFilePath(QStringLiteral("Time"));
        const QByteArray file = QFile::encodeName(path);
        if (!put(store.categoryListPath(), "\"Time\"\r\n") || !put(path, before))
            return 1;
        store.loadCategories(true);
        store.chooseCategory(store.categories().entries().indexOf(QStringLiteral("Time")));
        store.loadUnits(QStringLiteral("Time"));
        const int held = mode == "held" ? ::open(file.constData(), O_WRONLY | O_APPEND) : -1;
        const int delay = QRandomGenerator::global()->bounded(10000);
        const pid_t child = ::fork();
        if (child == 0) {
            ::usleep(useconds_t(delay));
            save(mode, file, held, before);
            ::_exit(0);
        }
        try {
            store.addUnit(QStringLiteral("Fortnights"), QStringLiteral("1209600"));
        } catch (const Failure &) {
            ++refused;
        }
        ::waitpid(child, nullptr, 0);
        if (held >= 0)
            ::close(held);
        if (!test::contents(path).contains(kSaved))
            ++lost;
    }
    std::printf("%s: %d trials, %d saves lost, %d edits refused\n", mode.constData(), trials, lost,
        refused);
    return 0;
}
