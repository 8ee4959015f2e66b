#include "support/widgets.h"

#include "platform/services.h"
#include "ui/main/frmConversion.h"
#include "ui/messagebox.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace quorvel::test {

namespace {

// How long a box may stay open after it was answered before it is closed
// by force, so that a broken answer fails the test instead of hanging it.
constexpr int kStuckMs = 3000;

QString describe(const QWidget *modal)
{
    if (const auto *box = qobject_cast<const QMessageBox *>(modal))
        return QStringLiteral("message box \"%1\" (%2): %3")
            .arg(box->windowTitle(), box->objectName(), box->text());
    if (const auto *input = qobject_cast<const QInputDialog *>(modal))
        return QStringLiteral("input box \"%1\": %2").arg(input->windowTitle(), input->labelText());
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QString::fromLatin1(modal->metaObject()->className()), modal->windowTitle(),
            modal->objectName());
}

bool isFailureMessage(const QWidget *modal)
{
    const auto *box = qobject_cast<const QMessageBox *>(modal);
    return box && box->objectName() == QLatin1String("failureMessage")
        && box->windowTitle() == QLatin1String("Quorvel");
}

} // namespace

ModalAnswerer::ModalAnswerer()
{
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
    m_timer.start();
}

void ModalAnswerer::expect(
    Kind kind, const QStringList &parts, Press press, const QString &answer, bool cancel)
{
    m_expected.push_back(Expected { kind, parts, press, answer, cancel });
}

void ModalAnswerer::expectFailure(const QStringList &textParts)
{
    expect(Kind::Failure, textParts, Press::Enter);
}

void ModalAnswerer::expectDeleteQuestion(Press press)
{
    expect(Kind::Question, {}, press);
}

void ModalAnswerer::expectNewCategory(const QString &answer)
{
    expect(Kind::Input, {}, Press::Enter, answer);
}

void ModalAnswerer::expectNewCategoryCancelled()
{
    expect(Kind::Input, {}, Press::Enter, {}, true);
}

void ModalAnswerer::expectNotice(const QString &text)
{
    expect(Kind::Notice, { text }, Press::Enter);
}

QString ModalAnswerer::verdict() const
{
    QStringList all = m_problems;
    if (!m_expected.empty())
        all.append(QStringLiteral("%1 expected boxes never opened").arg(m_expected.size()));
    return all.join(QLatin1Char('\n'));
}

void ModalAnswerer::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (modal == m_answered) {
        if (m_answeredFor.elapsed() > kStuckMs) {
            m_problems << QStringLiteral("still open after its answer: ") + describe(modal);
            dismiss(modal);
        }
        return;
    }
    m_answered = modal;
    m_answeredFor.start();
    const auto *message = qobject_cast<QMessageBox *>(modal); // is its title cut?
    if (message && message->width() < ui::titleBarWidth(*message))
        m_problems << QStringLiteral("narrower than its title: ") + describe(modal);
    const bool failureAwaited = !m_expected.empty() && m_expected.front().kind == Kind::Failure;
    if (m_keepFailures && !failureAwaited && isFailureMessage(modal)) {
        auto *box = static_cast<QMessageBox *>(modal);
        m_kept << box->windowTitle() + u'\t' + box->text();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        return;
    }
    if (m_expected.empty()) {
        m_problems << QStringLiteral("unexpected ") + describe(modal);
        dismiss(modal);
        return;
    }
    const Expected expected = m_expected.front();
    m_expected.pop_front();
    answer(modal, expected);
}

void ModalAnswerer::answer(QWidget *modal, const Expected &expected)
{
    const QString seen = describe(modal);
    auto *box = qobject_cast<QMessageBox *>(modal);
    auto *input = qobject_cast<QInputDialog *>(modal);

    switch (expected.kind) {
    case Kind::Failure:
    case Kind::Notice: {
        const bool notice = expected.kind == Kind::Notice;
        bool matches = notice ? box && box->text() == expected.parts[0]
                && box->windowTitle() == QLatin1String("Quorvel")
                && box->icon() == QMessageBox::NoIcon && box->buttons().size() == 1
                              : isFailureMessage(modal);
        for (const QString &part : expected.parts)
            matches = matches && box->text().contains(part);
        if (!matches || !box->button(QMessageBox::Ok)) {
            m_problems << QStringLiteral("expected a message with \"%1\", saw %2")
                              .arg(expected.parts.join(QStringLiteral("\", \"")), seen);
            dismiss(modal);
            return;
        }
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        return;
    }
    case Kind::Question: {
        const bool matches = box && box->objectName() == QLatin1String("deleteQuestion")
            && box->windowTitle() == QLatin1String("Danger Kestrovan")
            && box->text() == QLatin1String("Delete Selected Item ?")
            && box->defaultButton() == box->button(QMessageBox::Yes)
            && box->button(QMessageBox::No);
        if (!matches) {
            m_problems << QStringLiteral("expected the delete question, saw ") + seen;
            dismiss(modal);
            return;
        }
        if (expected.press == Press::No) {
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
        } else {
            QWidget *target = box->focusWidget() ? box->focusWidget() : box;
            QTest::keyClick(target, Qt::Key_Return);
        }
        return;
    }
    case Kind::Input: {
        const bool matches = input && input->windowTitle() == QLatin1String("New Category")
            && input->labelText() == QLatin1String("Conversion Category")
            && input->textValue().isEmpty();
        auto *edit = input ? input->findChild<QLineEdit *>() : nullptr;
        auto *buttons = input ? input->findChild<QDialogButtonBox *>() : nullptr;
        if (!matches || !edit || !buttons) {
            m_problems << QStringLiteral("expected the new-category box, saw ") + seen;
            dismiss(modal);
            return;
        }
        if (expected.cancel) {
            QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
            return;
        }
        type(edit, expected.answer);
        if (edit->text() != expected.answer)
            edit->setText(expected.answer); // characters no key event carries
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        return;
    }
    }
}

void ModalAnswerer::dismiss(QWidget *modal)
{
    if (auto *dialog = qobject_cast<QDialog *>(modal))
        dialog->reject();
    else
        modal->close();
}

WindowDriver::WindowDriver(const QString &folder)
    : m_folder(folder)
{
    if (!folder.isEmpty())
        return;
    m_own = std::make_unique<QTemporaryDir>();
    if (m_own->isValid())
        m_folder = m_own->path();
}

WindowDriver::~WindowDriver()
{
    window.reset();
    if (!m_own)
        return;
    // Files made read-only by a test must not keep the folder from going.
    QDir folder(m_folder);
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
        QFile::setPermissions(
            folder.filePath(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool WindowDriver::writeFile(const QString &name, const QByteArray &bytes) const
{
    return put(path(name), bytes);
}

bool WindowDriver::exists(const QString &name) const
{
    return QFile::exists(path(name));
}

bool WindowDriver::load()
{
    window = std::make_unique<frmConversion>(m_folder, platform::systemServices());
    category = window->findChild<QComboBox *>(QStringLiteral("cboConversionType"));
    from = window->findChild<QComboBox *>(QStringLiteral("cboConvFrom"));
    to = window->findChild<QComboBox *>(QStringLiteral("cboConvTo"));
    value = window->findChild<QLineEdit *>(QStringLiteral("txtUserInput"));
    output = window->findChild<QLineEdit *>(QStringLiteral("txtCalcOut"));
    note = window->findChild<QLabel *>(QStringLiteral("lblEdit"));
    if (!category || !from || !to || !value || !output || !note)
        return false;
    window->Form_Load();
    return true;
}

bool WindowDriver::start()
{
    if (!load())
        return false;
    window->show();
    return QTest::qWaitForWindowActive(window.get());
}

QAction *WindowDriver::action(const char *name) const
{
    return window->findChild<QAction *>(QLatin1String(name));
}

void WindowDriver::setEditMode(bool on)
{
    if (action("mnuFileEdit")->isChecked() != on)
        action("mnuFileEdit")->trigger();
}

bool WindowDriver::convert(const QString &categoryName, const QString &fromUnit,
    const QString &toUnit, const QString &typed)
{
    if (!choose(category, categoryName) || !choose(from, fromUnit) || !choose(to, toUnit)
        || !focusOn(value))
        return false;
    type(value, typed);
    pressEnter(value);
    return true;
}

void WindowDriver::typeUnit(const QString &name, const QString &factor)
{
    from->setCurrentIndex(-1);
    from->setEditText(name);
    value->setText(factor);
}

QString finish(std::unique_ptr<WindowDriver> &driver)
{
    const QString verdict = driver->answerer.verdict();
    driver.reset();
    return verdict;
}

QStringList entries(const QComboBox *combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list << combo->itemText(i);
    return list;
}

bool choose(QComboBox *combo, int row)
{
    if (row < 0 || row >= combo->count())
        return false;
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    if (!QTest::qWaitForWindowExposed(view->window()))
        return false;
    const QModelIndex index = combo->model()->index(row, combo->modelColumn());
    view->scrollTo(index);
    const QPoint centre = view->visualRect(index).center();
    QTest::mouseMove(view->viewport(), centre);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
    return QTest::qWaitFor([view] { return !view->window()->isVisible(); }, 2000)
        && reactivate(combo);
}

bool choose(QComboBox *combo, const QString &text)
{
    return choose(combo, combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

bool reactivate(QWidget *widget)
{
    // The offscreen platform leaves no window active once a modal box has
    // closed; a desktop gives the activation back to the window below.
    QWidget *window = widget->window();
    if (window->isActiveWindow() || QApplication::activeModalWidget())
        return true;
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

bool focusOn(QWidget *widget)
{
    if (!reactivate(widget))
        return false;
    widget->setFocus(Qt::OtherFocusReason);
    const bool focused = QTest::qWaitFor([widget] { return hasFocus(widget); }, 2000);
    QCoreApplication::processEvents();
    return focused;
}

bool hasFocus(QWidget *widget)
{
    reactivate(widget);
    return widget->hasFocus() || QApplication::focusWidget() == widget;
}

QString focusName()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<frmConversion *>(window) && window->isVisible())
            reactivate(window);
    }
    QWidget *focused = QApplication::focusWidget();
    if (!focused)
        return QStringLiteral("<none>");
    // A combo box's text field stands for its combo box.
    if (focused->objectName().isEmpty() && qobject_cast<QComboBox *>(focused->parentWidget()))
        focused = focused->parentWidget();
    return focused->objectName();
}

void activate(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
            QTest::keyClick(widget, char(c.unicode()));
        } else {
            // A key with no key code of its own carries the character as text.
            QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), {});
            QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), {});
        }
    }
}

void pressEnter(QWidget *widget)
{
    QTest::keyClick(widget, Qt::Key_Return);
    reactivate(widget);
}

int lastMarkerRow(const QComboBox *combo)
{
    for (int i = combo->count() - 1; i >= 0; --i) {
        if (combo->itemText(i) == kMarker)
            return i;
    }
    return -1;
}

} // namespace quorvel::test
