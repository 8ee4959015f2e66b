#pragma once

#include "store/upgrade.h"

#include <QString>

class QWidget;

namespace quorvel::ui {

// What an upgrade of the user's data files did, in the user's words: a
// summary of a few lines and one line for each file or record.
QString upgradeSummary(const UpgradeReport &report);
QString upgradeDetails(const UpgradeReport &report);

// Tells the user, once the window is up, what the upgrade did: a message
// box over the window, and the same lines on standard error. Nothing is
// shown for an empty report.
void showUpgradeReport(QWidget &window, const UpgradeReport &report);

} // namespace quorvel::ui
