// What the archive window does with the pages: a record of what a page holds
// now (to compare with), a record's configuration put onto its page, and
// the page's tab of a unit kind.
#pragma once

#include "archive/archive_record.h"

class QWidget;
class TRelcon4;

// The page's configuration as a record would keep it; false (with the
// reason) when the page cannot give one (an RO-4D page whose reference
// voltage is no number).
bool PageConfig(TRelcon4& window, const QString& unit, QByteArray& config, QString& reason);
// Puts a record's configuration onto its page, as loading its file would;
// false with the reason when the bytes are not a whole configuration.
bool LoadIntoPage(TRelcon4& window, const TArchiveRecord& record, QString& reason);
// The page's tab for a unit kind.
QWidget* PageTabOf(TRelcon4& window, const QString& unit);
