#pragma once

#include "ui/dialogs/twips.h"

#include <QDialog>

class QWidget;

namespace quorvel::ui {

// A top-level dialog of fixed size with a close control and no minimise or
// maximise button. The close control unloads it (deletes it once events are
// processed); Esc does nothing unless a subclass gives it a cancel action.
class FixedDialog : public QDialog {
    Q_OBJECT

public:
    // Client size in twips; iconResource names the window icon, used when
    // the program carries it.
    FixedDialog(int widthTwips, int heightTwips, const QString &iconResource);

    // Esc arrives here.
    void reject() override;

protected:
    QRect twips(int left, int top, int width, int height) const;
    void closeEvent(QCloseEvent *event) override;

private:
    TwipsScale m_scale;
};

} // namespace quorvel::ui
