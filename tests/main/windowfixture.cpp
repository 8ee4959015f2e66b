#include "windowfixture.h"

#include "platform/services.h"
#include "ui/main/frmConversion.h"

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

} // namespace

ModalAnswerer::ModalAnswerer()
{
    m_timer.setInterval(10);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { poll(); });
    m_timer.start();
}

void ModalAnswerer::expectFailure(const QStringList &textParts)
{
    Expected expected;
    expected.kind = Kind::Failure;
    expected.parts = textParts;
    m_expected.push_back(expected);
}

void ModalAnswerer::expectDeleteQuestion(Press press)
{
    Expected expected;
    expected.kind = Kind::Question;
    expected.press = press;
    m_expected.push_back(expected);
}

void ModalAnswerer::expectNewCategory(const QString &answer)
{
    Expected expected;
    expected.kind = Kind::Input;
    expected.answer = answer;
    m_expected.push_back(expected);
}

void ModalAnswerer::expectNewCategoryCancelled()
{
    Expected expected;
    expected.kind = Kind::Input;
    expected.cancel = true;
    m_expected.push_back(expected);
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
    case Kind::Failure: {
        bool matches = box && box->objectName() == QLatin1String("failureMessage")
            && box->windowTitle() == QLatin1String("Quorvel");
        for (const QString &part : expected.parts)
            matches = matches && box->text().contains(part);
        if (!matches) {
            m_problems << QStringLiteral("expected a failure message with \"%1\", saw %2")
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

WindowFixture::WindowFixture() = default;

WindowFixture::~WindowFixture()
{
    window.reset();
    // Files made read-only by a test must not keep the folder from going.
    QDir folder(m_folder.path());
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
        QFile::setPermissions(
            folder.filePath(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString WindowFixture::path(const QString &name) const
{
    return m_folder.filePath(name);
}

void WindowFixture::writeFile(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray WindowFixture::readFile(const QString &name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool WindowFixture::exists(const QString &name) const
{
    return QFile::exists(path(name));
}

QStringList WindowFixture::folderSnapshot() const
{
    QStringList snapshot;
    const QDir folder(m_folder.path());
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden, QDir::Name))
        snapshot << name + QStringLiteral(": ")
                + QString::fromLatin1(readFile(name).toPercentEncoding());
    return snapshot;
}

void WindowFixture::writeStandardFiles() const
{
    writeFile(QStringLiteral("conversion.txt"), kStandardCategories);
    writeFile(QStringLiteral("Length.txt"), kLengthUnits);
    writeFile(QStringLiteral("Time.txt"), kTimeUnits);
    writeFile(QStringLiteral("Weight.txt"), kWeightUnits);
}

bool WindowFixture::start()
{
    window = std::make_unique<frmConversion>(m_folder.path(), platform::systemServices());
    category = window->findChild<QComboBox *>(QStringLiteral("cboConversionType"));
    from = window->findChild<QComboBox *>(QStringLiteral("cboConvFrom"));
    to = window->findChild<QComboBox *>(QStringLiteral("cboConvTo"));
    value = window->findChild<QLineEdit *>(QStringLiteral("txtUserInput"));
    output = window->findChild<QLineEdit *>(QStringLiteral("txtCalcOut"));
    note = window->findChild<QLabel *>(QStringLiteral("lblEdit"));
    if (!category || !from || !to || !value || !output || !note)
        return false;
    window->Form_Load();
    window->show();
    return QTest::qWaitForWindowActive(window.get());
}

QAction *WindowFixture::action(const char *name) const
{
    return window->findChild<QAction *>(QLatin1String(name));
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

QString finish(std::unique_ptr<WindowFixture> &fixture)
{
    QStringList problems = fixture->answerer.problems();
    const int pending = fixture->answerer.pending();
    fixture.reset();
    if (pending > 0)
        problems.append(QStringLiteral("%1 expected boxes never opened").arg(pending));
    return problems.join(QLatin1Char('\n'));
}

} // namespace quorvel::test
