#pragma once

#include "standarddata.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <memory>

class frmConversion;
class QComboBox;
class QLineEdit;

namespace quorvel::reliability {

using test::kLengthUnits;
using test::kStandardCategories;
using test::kTimeUnits;
using test::kWeightUnits;

bool writeStandardFiles(const QString &folder);
bool put(const QString &path, const QByteArray &bytes);

// Every entry of a folder by name: a file with its bytes, a directory, or a
// link with its target and the target's bytes. Compared whole, it tells
// whether anything at all in the folder changed.
using Snapshot = QMap<QString, QString>;
Snapshot snapshot(const QString &folder);
QString describe(const Snapshot &snapshot);
// One line per entry, prefixed, for a child process to report its folder.
QStringList snapshotLines(const QString &prefix, const Snapshot &snapshot);
Snapshot parseSnapshot(const QString &prefix, const QStringList &lines);
QString fileEntry(const QByteArray &bytes);

// Answers the modal boxes of the main window: failure messages are
// recorded and confirmed, the delete question and the new-category input
// box get the answers queued for them.
class ModalResponder : public QObject {
public:
    ModalResponder();
    void answerQuestion(bool yes) { m_questions.push_back(yes); }
    void answerInput(const QString &text) { m_inputs.push_back(text); }
    // "title\ttext" of every failure message shown, in order.
    QStringList takeMessages();
    QStringList unexpected() const { return m_unexpected; }

private:
    void poll();

    QTimer m_timer;
    std::deque<bool> m_questions;
    std::deque<QString> m_inputs;
    QStringList m_messages;
    QStringList m_unexpected;
};

// The real main window over a folder, driven the way a user drives it.
class WindowDriver {
public:
    explicit WindowDriver(const QString &folder);
    ~WindowDriver();

    frmConversion &window() { return *m_window; }
    ModalResponder responder;

    void setEditMode(bool on);
    // Picks a category entry as a click does; false when it is not listed.
    bool chooseCategory(const QString &text);
    QStringList categories() const;
    QStringList fromEntries() const;
    void typeUnit(const QString &name, const QString &factor);
    void pressEnterInValue();
    void pressEnterInFrom();
    // Picks a from-list entry as a click does; false when there is none.
    bool chooseFromEntry(int row);
    // Picks the units and the value and presses Enter; returns the output.
    QString convert(const QString &from, const QString &to, const QString &value);

private:
    std::unique_ptr<frmConversion> m_window;
    QComboBox *m_category = nullptr;
    QComboBox *m_from = nullptr;
    QComboBox *m_to = nullptr;
    QLineEdit *m_value = nullptr;
    QLineEdit *m_output = nullptr;
};

QString escaped(QString text);
QString unescaped(QString text);

} // namespace quorvel::reliability
