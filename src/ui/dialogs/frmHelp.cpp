#include "ui/dialogs/frmHelp.h"

#include "appinfo.h"
#include "core/failure.h"
#include "store/helpfile.h"

#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include <utility>

using namespace quorvel;

namespace {

QString unreadableText(const QString &path, const QString &reason)
{
    return QStringLiteral("The help file could not be read: %1 (%2).")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

frmHelp::frmHelp(QString appFolder)
    : FixedDialog(4950, 5085)
    , m_appFolder(std::move(appFolder))
{
    setObjectName(QStringLiteral("frmHelp"));

    // The label scrolls instead of cutting off text that does not fit, by
    // the keys that page through a text as well (see eventFilter).
    m_scroller = new QScrollArea(this);
    m_scroller->setObjectName(QStringLiteral("lblHelpScroller"));
    m_scroller->setGeometry(twips(120, 120, 4695, 4335));
    m_scroller->setFrameShape(QFrame::NoFrame);
    m_scroller->setFocusPolicy(Qt::NoFocus);
    m_scroller->setWidgetResizable(true);
    m_scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroller->viewport()->setBackgroundRole(QPalette::Window);

    lblHelp = new QLabel;
    lblHelp->setObjectName(QStringLiteral("lblHelp"));
    lblHelp->setTextFormat(Qt::PlainText);
    lblHelp->setWordWrap(true);
    lblHelp->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scroller->setWidget(lblHelp);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setAccessibleName(QStringLiteral("OK"));
    OKButton->setGeometry(twips(3600, 4560, 1215, 375));
    OKButton->setFocus();
    OKButton->installEventFilter(this);
    connect(OKButton, &QPushButton::clicked, this, &frmHelp::OKButton_Click);

    m_focusBefore = QGuiApplication::focusWindow();
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *window) {
        if (window == windowHandle())
            return;
        m_focusBefore = window;
        m_readOnShow = false;
    });
}

bool frmHelp::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        // Filled when shown: a window manager need not activate a new window,
        // and the dialog must never show up empty.
        if (!std::exchange(m_shown, true)) {
            Form_Activate();
            m_readOnShow = true;
        }
        break;
    case QEvent::Hide:
        m_shown = false;
        break;
    case QEvent::WindowActivate:
        // Coming from another application, no window of this program had
        // the focus: the text stays as it is.
        if (!std::exchange(m_readOnShow, false) && m_focusBefore)
            Form_Activate();
        break;
    default:
        break;
    }
    return FixedDialog::event(event);
}

bool frmHelp::eventFilter(QObject *watched, QEvent *event)
{
    // These keys scroll the text while OK keeps the focus; the button would
    // take Up and Down to move the focus along the dialog's buttons.
    if (watched == OKButton && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            QCoreApplication::sendEvent(m_scroller->verticalScrollBar(), event);
            return true;
        default:
            break;
        }
    }
    return FixedDialog::eventFilter(watched, event);
}

void frmHelp::Form_Activate()
{
    setWindowTitle(QString::fromLatin1(appinfo::kTitle) + QStringLiteral(" Help"));
    lblHelp->clear();
    const QString path = m_appFolder + QStringLiteral("/help.txt");

    // A help file that cannot be read is no failure of the program: the
    // label says what went wrong instead.
    QString text;
    try {
        for (const QString &line : readHelpFile(path))
            text += line + QLatin1Char('\n');
    } catch (const Failure &failure) {
        text = unreadableText(path, failure.kindText());
    }
    // No accessible name of its own: a screen reader reads the text itself.
    lblHelp->setText(text);
}

void frmHelp::OKButton_Click()
{
    close();
}
