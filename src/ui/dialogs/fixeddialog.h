#pragma once

#include "ui/twips.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace quorvel::ui {

// A top-level dialog of fixed size with a close control and no minimise or
// maximise button. The close control unloads it (deletes it once events are
// processed); Esc does nothing unless a subclass gives it a cancel action.
// Enter chooses the button that has the focus, or else the default button
// if there is one.
class FixedDialog : public QDialog {
    Q_OBJECT

public:
    // Client size in twips. The window icon is the application's.
    FixedDialog(int widthTwips, int heightTwips);

    // Esc arrives here.
    void reject() override;

protected:
    QRect twips(int left, int top, int width, int height) const;
    void setDefaultButton(QPushButton *button);
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    TwipsScale m_scale;
    QPushButton *m_defaultButton = nullptr;
};

// A plain-text label at a fixed place, named for the tests and for screen
// readers (its text is its accessible name).
QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry);

} // namespace quorvel::ui
