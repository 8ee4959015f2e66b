#pragma once

#include <QElapsedTimer>
#include <QObject>

class QWidget;

namespace quorvel::bench {

// Times a window's first paint. Arm it just before QApplication::exec():
// the first Paint event of the watched window (after exec has started)
// records the time, the event loop is left once that paint is done, and
// report() prints one line with the times and the peak resident set size:
//
//   firstpaint name=<name> paint_monotonic_ns=<t> main_to_paint_ms=<t>
//              exec_to_paint_ms=<t> maxrss_kb=<k>
//
// paint_monotonic_ns is CLOCK_MONOTONIC at the paint, to be compared with
// the time the caller started the process; main_to_paint_ms starts on entry
// to main() and exec_to_paint_ms when the event loop starts.
class FirstPaintProbe : public QObject {
public:
    // mainStarted was started on entry to main().
    FirstPaintProbe(QWidget *window, const char *name, const QElapsedTimer &mainStarted);

    void arm();
    // Prints the line; false when no paint was seen.
    bool report() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    const char *m_name;
    const QElapsedTimer &m_mainStarted;
    QElapsedTimer m_execStarted;
    qint64 m_execToPaintNs = -1;
    qint64 m_mainToPaintNs = -1;
    qint64 m_paintMonotonicNs = -1;
};

// Fails the run when no paint comes in time (no display, a hung start).
void quitAfterTimeout(int milliseconds);

} // namespace quorvel::bench
