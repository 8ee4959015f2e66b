#include "firstpaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <cstdio>
#include <ctime>

namespace quorvel::bench {

FirstPaintProbe::FirstPaintProbe(
    QWidget *window, const char *name, const QElapsedTimer &mainStarted)
    : m_window(window)
    , m_name(name)
    , m_mainStarted(mainStarted)
{
}

void FirstPaintProbe::arm()
{
    m_window->installEventFilter(this);
    m_execStarted.start();
}

bool FirstPaintProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::Paint && m_execToPaintNs < 0) {
        timespec now {};
        clock_gettime(CLOCK_MONOTONIC, &now);
        m_paintMonotonicNs = qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
        m_execToPaintNs = m_execStarted.nsecsElapsed();
        m_mainToPaintNs = m_mainStarted.nsecsElapsed();
        // Queued: the paint, its children and the flush to the screen finish
        // before the loop ends.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
    return QObject::eventFilter(watched, event);
}

bool FirstPaintProbe::report() const
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    if (m_execToPaintNs < 0) {
        std::fprintf(stderr, "firstpaint name=%s: no paint event\n", m_name);
        return false;
    }
    std::printf("firstpaint name=%s paint_monotonic_ns=%lld main_to_paint_ms=%.3f "
                "exec_to_paint_ms=%.3f maxrss_kb=%ld\n",
        m_name, static_cast<long long>(m_paintMonotonicNs), m_mainToPaintNs / 1e6,
        m_execToPaintNs / 1e6, usage.ru_maxrss);
    std::fflush(stdout);
    return true;
}

void quitAfterTimeout(int milliseconds)
{
    QTimer::singleShot(milliseconds, qApp, [] { QCoreApplication::exit(2); });
}

} // namespace quorvel::bench
