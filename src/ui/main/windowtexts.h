#pragma once

#include "appinfo.h"
#include "store/names.h"

#include <QString>

// The main window's own words: its title, the entry that stands for a new
// one, and the guiding texts its lists show while no entry is selected.
namespace quorvel::ui::texts {

inline const QString kTitle = QString::fromLatin1(appinfo::kTitle);
inline const QString kMarker = QString::fromUtf16(kNewEntryMarker);
inline const QString kConversionPrompt = QStringLiteral("Conversion");
inline const QString kConvertFrom = QStringLiteral("Convert From");
inline const QString kConvertTo = QStringLiteral("Convert To");
inline const QString kConvertFromTo = QStringLiteral("Convert From/To"); // edit mode

} // namespace quorvel::ui::texts
