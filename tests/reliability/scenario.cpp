#include "scenario.h"

#include "platform/services.h"
#include "ui/main/frmConversion.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace quorvel::reliability {

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

bool writeStandardFiles(const QString &folder)
{
    return put(folder + "/conversion.txt", kStandardCategories)
        && put(folder + "/Length.txt", kLengthUnits) && put(folder + "/Time.txt", kTimeUnits)
        && put(folder + "/Weight.txt", kWeightUnits);
}

QString fileEntry(const QByteArray &bytes)
{
    return QStringLiteral("file ") + QString::fromLatin1(bytes.toHex());
}

Snapshot snapshot(const QString &folder)
{
    Snapshot entries;
    const QDir dir(folder);
    const QFileInfoList infos = dir.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : infos) {
        QString entry;
        if (info.isSymLink()) {
            QFile target(info.symLinkTarget());
            entry = QStringLiteral("link ") + info.symLinkTarget() + u' '
                + (target.open(QIODevice::ReadOnly) ? fileEntry(target.readAll())
                                                    : QStringLiteral("unreadable"));
        } else if (info.isDir()) {
            entry = QStringLiteral("directory");
        } else {
            QFile file(info.filePath());
            entry = file.open(QIODevice::ReadOnly) ? fileEntry(file.readAll())
                                                   : QStringLiteral("unreadable");
        }
        entries.insert(info.fileName(), entry);
    }
    return entries;
}

QString describe(const Snapshot &snapshot)
{
    QStringList parts;
    for (auto it = snapshot.begin(); it != snapshot.end(); ++it) {
        QString value = it.value();
        if (value.startsWith("file "))
            value = QString::fromLatin1(QByteArray::fromHex(value.mid(5).toLatin1()))
                        .replace("\r\n", "|");
        parts << it.key() + ": " + value;
    }
    return parts.join("; ");
}

QStringList snapshotLines(const QString &prefix, const Snapshot &snapshot)
{
    QStringList lines;
    for (auto it = snapshot.begin(); it != snapshot.end(); ++it)
        lines << prefix + u'\t' + escaped(it.key()) + u'\t' + it.value();
    if (snapshot.isEmpty())
        lines << prefix + QStringLiteral("\t\tempty");
    return lines;
}

Snapshot parseSnapshot(const QString &prefix, const QStringList &lines)
{
    Snapshot entries;
    for (const QString &line : lines) {
        const QStringList parts = line.split(u'\t');
        if (parts.size() == 3 && parts[0] == prefix && !parts[1].isEmpty())
            entries.insert(unescaped(parts[1]), parts[2]);
    }
    return entries;
}

QString escaped(QString text)
{
    return text.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'\n', QStringLiteral("\\n"))
        .replace(u'\r', QStringLiteral("\\r"))
        .replace(u'\t', QStringLiteral("\\t"));
}

QString unescaped(QString text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size()) {
            const QChar c = text[++i];
            out += c == u'n' ? u'\n' : c == u'r' ? u'\r' : c == u't' ? u'\t' : c;
        } else {
            out += text[i];
        }
    }
    return out;
}

ModalResponder::ModalResponder()
{
    m_timer.setInterval(5);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
    m_timer.start();
}

QStringList ModalResponder::takeMessages()
{
    return std::exchange(m_messages, {});
}

void ModalResponder::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        if (box->objectName() == u"failureMessage") {
            m_messages << box->windowTitle() + u'\t' + box->text();
            box->accept();
            return;
        }
        if (box->objectName() == u"deleteQuestion" && !m_questions.empty()) {
            const bool yes = m_questions.front();
            m_questions.pop_front();
            box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            return;
        }
        m_unexpected << box->objectName() + u'\t' + box->text();
        box->reject();
        return;
    }
    if (auto *input = qobject_cast<QInputDialog *>(modal)) {
        if (m_inputs.empty()) {
            m_unexpected << QStringLiteral("input box ") + input->labelText();
            input->reject();
            return;
        }
        input->setTextValue(m_inputs.front());
        m_inputs.pop_front();
        input->accept();
        return;
    }
    m_unexpected << QString::fromLatin1(modal->metaObject()->className());
    modal->close();
}

WindowDriver::WindowDriver(const QString &folder)
    : m_window(std::make_unique<frmConversion>(folder, platform::systemServices()))
{
    m_window->Form_Load();
    m_window->show();
    m_category = m_window->findChild<QComboBox *>("cboConversionType");
    m_from = m_window->findChild<QComboBox *>("cboConvFrom");
    m_to = m_window->findChild<QComboBox *>("cboConvTo");
    m_value = m_window->findChild<QLineEdit *>("txtUserInput");
    m_output = m_window->findChild<QLineEdit *>("txtCalcOut");
    Q_ASSERT(m_category && m_from && m_to && m_value && m_output);
}

WindowDriver::~WindowDriver() = default;

void WindowDriver::setEditMode(bool on)
{
    QAction *edit = m_window->findChild<QAction *>("mnuFileEdit");
    if (edit->isChecked() != on)
        edit->trigger();
}

bool WindowDriver::chooseCategory(const QString &text)
{
    const int row = m_category->findText(text, Qt::MatchExactly);
    if (row < 0)
        return false;
    m_category->setCurrentIndex(row);
    Q_EMIT m_category->activated(row);
    return true;
}

QStringList WindowDriver::categories() const
{
    QStringList entries;
    for (int i = 0; i < m_category->count(); ++i)
        entries << m_category->itemText(i);
    return entries;
}

QStringList WindowDriver::fromEntries() const
{
    QStringList entries;
    for (int i = 0; i < m_from->count(); ++i)
        entries << m_from->itemText(i);
    return entries;
}

void WindowDriver::typeUnit(const QString &name, const QString &factor)
{
    m_from->setCurrentIndex(-1);
    m_from->setEditText(name);
    m_value->setText(factor);
}

void WindowDriver::pressEnterInValue()
{
    QTest::keyClick(m_value, Qt::Key_Return);
}

void WindowDriver::pressEnterInFrom()
{
    QTest::keyClick(m_from, Qt::Key_Return);
}

bool WindowDriver::chooseFromEntry(int row)
{
    if (row >= m_from->count())
        return false;
    m_from->setCurrentIndex(row);
    Q_EMIT m_from->activated(row);
    return true;
}

QString WindowDriver::convert(const QString &from, const QString &to, const QString &value)
{
    const int f = m_from->findText(from, Qt::MatchExactly);
    const int t = m_to->findText(to, Qt::MatchExactly);
    if (f < 0 || t < 0)
        return QStringLiteral("<unit not listed>");
    m_from->setCurrentIndex(f);
    m_to->setCurrentIndex(t);
    m_value->setText(value);
    pressEnterInValue();
    return m_output->text();
}

} // namespace quorvel::reliability
