// The "Протокол…" button under every page (Ctrl+P) and the archive
// window's: the protocol of what the page in view holds, read or loaded, or
// of an archive record. A compare or a write's check that ran for the unit
// goes into the page's protocol while the page still holds what was checked.
#pragma once

#include "devices/compare/compare_result.h"

#include <QString>

class QWidget;
class TRelcon4;
struct TArchiveRecord;

// Notes the check (a verify after a write, a compare with a file or the
// page) of the unit kind's page as it is now.
void NoteUnitCheck(TRelcon4& window, const QString& unit, const QString& title,
                   const TCompareResult& result);
// Forgets the checks noted; for tests.
void ResetUnitChecks();

// The unit kind of the page in view.
QString UnitOfShownPage(TRelcon4& window);
// Opens the protocol form for the page of a unit kind.
void OpenPageReport(TRelcon4& window, const QString& unit);
// Opens the protocol form for an archive record.
void OpenRecordReport(QWidget* parent, const TArchiveRecord& record);

// The button in the status bar and its key.
void InstallReportButton(TRelcon4* window);
