// The two RO-4D parameter pages together: building the register images from
// them and showing register words on them.
#pragma once

#include "devices/entries/entry_rule.h"
#include "devices/qv4m/param_codec.h"
#include "devices/qv4m/shown_codes.h"

#include <QObject>
#include <QString>
#include <vector>

class TQv4mModePage;
class TQv4mTimesPage;
class TEditMarks;
class TRelcon4;

class TQv4mPages : public QObject {
    Q_OBJECT
public:
    explicit TQv4mPages(TRelcon4* owner);

    TQv4mModePage* ModePage = nullptr;
    TQv4mTimesPage* TimesPage = nullptr;
    // What the last read or load put into the voltage entries, and from which codes.
    TShownCodes ShownCodes;

    // Fills mParamRegs, mModeRegs words 0 to 19 and mExtraWords word 0 from the
    // pages; adjusts the line-control boxes first. A reference voltage that is
    // not a positive number is refused with a message before anything changes,
    // and false is returned. The file flags ask for the configuration file and
    // the register export under fileName.
    bool prPageToRegs(const QString& fileName, bool writeConfig, bool writeExport);

    // The images a write would send, built from the pages without changing
    // anything: the images keep their other words, the line-control boxes
    // are adjusted only in the copy. False when the reference voltage is not
    // usable. adjusted gets the page values with the adjusted boxes. A voltage
    // entry unchanged since the last read or load keeps the code it came from.
    bool PageImage(TRo4dImage& image, TQv4mParams* adjusted = nullptr) const;

    // Shows parameter words on the pages: numbers, voltages for the current
    // board, options, main mode and the six line-control boxes, noting the
    // codes the voltages came from. The AND/OR groups and the matrix are the
    // mode editor's restore.
    void prShowParamRegs(const TParamRegs& regs);

    // Applies the board generation in the window's bVers to the times page.
    void prSetBoardLayout();

    // Marks every entry a write would not send as typed (each edit re-checks
    // the page as it changes) and returns their faults.
    std::vector<TEntryFault> CheckEntries();
    // A write goes ahead only when no entry is marked; otherwise a message
    // names each one and false is returned.
    bool EntriesAllowWrite();

    TQv4mParams ReadParams() const;
    // Sets the controls; the mode editor's handlers stay quiet meanwhile.
    void WriteParams(const TQv4mParams& p);

    // Makes every edit re-check the entries as it changes.
    void WatchEntries();

    // The entries changed since the pages were last read, loaded, written or
    // saved; NoteBaseline says the pages now show what the unit or file holds.
    TEditMarks* Marks = nullptr;
    void NoteBaseline();

    // What the pages showed at the last NoteBaseline.
    TRo4dImage Baseline;

private:
    TRelcon4* owner_;
};

// Creates both pages in the window's tabs TabSheet3 and TabSheet6.
TQv4mPages* InstallQv4mPages(TRelcon4* window);
// The pages installed in a window, or nullptr.
TQv4mPages* Qv4mPagesOf(const TRelcon4* window);
// The mode editor's main-mode rules, once; the caller holds fNotSetCheckBoxs.
void ApplyQv4mMainMode(TRelcon4* window);
