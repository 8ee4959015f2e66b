#pragma once

#include "standarddata.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;
class frmConversion;

namespace quorvel::test {

// Answers the modal boxes the window opens, in the order they are expected,
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

    int pending() const { return int(m_expected.size()); }
    const QStringList &problems() const { return m_problems; }

private:
    enum class Kind { Failure, Question, Input };
    struct Expected {
        Kind kind = Kind::Failure;
        QStringList parts;
        Press press = Press::Enter;
        QString answer;
        bool cancel = false;
    };

    void poll();
    void answer(QWidget *modal, const Expected &expected);
    void dismiss(QWidget *modal);

    QTimer m_timer;
    std::deque<Expected> m_expected;
    QStringList m_problems;
    QPointer<QWidget> m_answered;
    QElapsedTimer m_answeredFor;
};

// One main window over its own temporary application folder.
class WindowFixture {
public:
    WindowFixture();
    ~WindowFixture();

    bool folderReady() const { return m_folder.isValid(); }
    QString path(const QString &name) const;
    void writeFile(const QString &name, const QByteArray &bytes) const;
    QByteArray readFile(const QString &name) const;
    bool exists(const QString &name) const;
    // Every file of the folder, by name, with its bytes.
    QStringList folderSnapshot() const;

    // conversion.txt naming Length, Time and Weight, and their unit files.
    void writeStandardFiles() const;

    // Creates the window, runs its load step, shows it and waits until it
    // is active. Boxes opened by the load step must be expected before.
    bool start();

    QAction *action(const char *name) const;

    ModalAnswerer answerer;
    std::unique_ptr<frmConversion> window;
    QComboBox *category = nullptr;
    QComboBox *from = nullptr;
    QComboBox *to = nullptr;
    QLineEdit *value = nullptr;
    QLineEdit *output = nullptr;
    QLabel *note = nullptr;

private:
    QTemporaryDir m_folder;
};

// Ends a test: destroys the window and its folder and says what went wrong
// with the modal boxes (unexpected ones, expected ones that never opened);
// empty when nothing did.
QString finish(std::unique_ptr<WindowFixture> &fixture);

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

// Types into the control that must have the focus; Enter in it.
void type(QWidget *widget, const QString &text);
void pressEnter(QWidget *widget);

// The from-list row of the last "--> NEW <--" entry, or -1.
int lastMarkerRow(const QComboBox *combo);

inline const QString kMarker = QStringLiteral("--> NEW <--");

} // namespace quorvel::test
