#pragma once

#include "platform/fileprobe.h"
#include "platform/programstarter.h"
#include "platform/registry.h"
#include "platform/urlopener.h"

namespace quorvel::platform {

// The operating-system services the dialogs use, passed in so that tests
// can hand them fakes.
struct Services {
    Registry &registry;
    UrlOpener &urlOpener;
    ProgramStarter &programStarter;
    FileProbe &fileProbe;
};

// The real services of the platform the program runs on. They live until
// the program ends.
Services &systemServices();

} // namespace quorvel::platform
