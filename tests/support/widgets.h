#pragma once

#include "support/files.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <memory>
#include <utility>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;
class frmConversion;

namespace quorvel::test {

// Answers the modal boxes the program opens, in the order they are expected,
// from a repeating timer that runs inside each box's own event loop. A box
// that nobody expected, or that differs from the expectation, is recorded,
// closed, and listed by problems().
class ModalAnswerer {
public:
    enum class Press { Enter, No };

    ModalAnswerer();

    // A "Quorvel" failure message whose text contains every part; OK.
    void expectFailure(const QStringList &textParts);
    void expectFailure(const QString &textPart) { expectFailure(QStringList { textPart }); }
    // The delete question, answered with Enter (its default button) or No.
    void expectDeleteQuestion(Press press);
    // The new-category input box, answered by typing the text and OK.
    void expectNewCategory(const QString &answer);
    void expectNewCategoryCancelled();
    // A box captioned "Quorvel" with exactly this text, no icon and only OK.
    void expectNotice(const QString &text);

    // From now on a failure message that no expectation waits for is
    // confirmed and kept for takeMessages() instead of being a problem.
    void keepFailures() { m_keepFailures = true; }
    // "caption\ttext" of each failure message kept, in order.
    QStringList takeMessages() { return std::exchange(m_kept, {}); }

    int pending() const { return int(m_expected.size()); }
    const QStringList &problems() const { return m_problems; }
    // The problems and the expected boxes that never opened; empty when none.
    QString verdict() const;

private:
    enum class Kind { Failure, Question, Input, Notice };
    struct Expected {
        Kind kind = Kind::Failure;
        QStringList parts;
        Press press = Press::Enter;
        QString answer;
        bool cancel = false;
    };

    void expect(Kind kind, const QStringList &parts, Press press, const QString &answer = {},
        bool cancel = false);
    void poll();
    void answer(QWidget *modal, const Expected &expected);
    void dismiss(QWidget *modal);

    QTimer m_timer;
    std::deque<Expected> m_expected;
    QStringList m_problems;
    QStringList m_kept;
    bool m_keepFailures = false;
    QPointer<QWidget> m_answered;
    QElapsedTimer m_answeredFor;
};

// One main window over an application folder: a temporary one of its own,
// or the caller's.
class WindowDriver {
public:
    explicit WindowDriver(const QString &folder = QString());
    ~WindowDriver();

    bool folderReady() const { return !m_folder.isEmpty(); }
    const QString &folder() const { return m_folder; }
    QString path(const QString &name) const { return m_folder + u'/' + name; }
    bool writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const { return contents(path(name)); }
    bool exists(const QString &name) const;
    Snapshot folderSnapshot() const { return snapshot(m_folder); }
    bool writeStandardFiles() const { return test::writeStandardFiles(m_folder); }

    // Creates the window and runs its load step; start() also shows it and
    // waits until it is active. Boxes opened by the load step must be
    // expected before.
    bool load();
    bool start();

    QAction *action(const char *name) const;
    void setEditMode(bool on);
    // Chooses the category and both units, types the value into the emptied
    // value box and presses Enter.
    bool convert(const QString &category, const QString &fromUnit, const QString &toUnit,
        const QString &typed);
    // Puts a unit name into the from-list's text and a factor into the value
    // box, as typed there, without Enter.
    void typeUnit(const QString &name, const QString &factor);

    ModalAnswerer answerer;
    std::unique_ptr<frmConversion> window;
    QComboBox *category = nullptr;
    QComboBox *from = nullptr;
    QComboBox *to = nullptr;
    QLineEdit *value = nullptr;
    QLineEdit *output = nullptr;
    QLabel *note = nullptr;

private:
    std::unique_ptr<QTemporaryDir> m_own;
    QString m_folder;
};

// Ends a test: destroys the window and its folder and says what went wrong
// with the modal boxes; empty when nothing did.
QString finish(std::unique_ptr<WindowDriver> &driver);

// The entries of a list, in list order.
QStringList entries(const QComboBox *combo);

// Chooses an entry as a user does: opens the drop-down list and clicks the
// entry. Boxes the choice opens are answered while this runs.
bool choose(QComboBox *combo, int row);
bool choose(QComboBox *combo, const QString &text);

// Gives the control the keyboard focus and lets pending events run.
bool focusOn(QWidget *widget);
// Gives the activation back to the control's window after a modal box.
bool reactivate(QWidget *widget);
// The control, or the control whose focus proxy it is, has the focus.
bool hasFocus(QWidget *widget);
// The object name of the control that has the focus.
QString focusName();
// Shows the window, raises it and waits until it is active.
void activate(QWidget *window);

// Types into the control that must have the focus; Enter in it.
void type(QWidget *widget, const QString &text);
void pressEnter(QWidget *widget);

// The from-list row of the last "--> NEW <--" entry, or -1.
int lastMarkerRow(const QComboBox *combo);

inline const QString kMarker = QStringLiteral("--> NEW <--");

} // namespace quorvel::test
