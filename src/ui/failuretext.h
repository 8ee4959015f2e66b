#pragma once

#include <QString>

namespace quorvel {
class Failure;
}

namespace quorvel::ui {

// The words a message box shows for a failure: its kind, the file and line,
// and its reasons as sentences, with what the user can do about them.
// categoryList is the category list's path: the user has it read again
// another way than a unit file; with none (the upgrade, which the user does
// not repeat), no such advice is given.
QString failureText(const Failure &failure, const QString &categoryList = {});

} // namespace quorvel::ui
