#pragma once

#include <QString>

class QWidget;

namespace quorvel::platform {

// Hands a URL to the user's default handler for its scheme (mail program,
// web browser) and returns without waiting for it.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;

    // url is passed on exactly as given. owner is the window asking, or null.
    // Answers whether the handler could be started; callers may ignore it.
    virtual bool openUrl(const QString &url, QWidget *owner) = 0;
};

} // namespace quorvel::platform
