#include "devices/qv4m/qv4m_pages.h"

#include "devices/entries/entry_marks.h"
#include "devices/qv4m/mode_editor.h"
#include "devices/qv4m/number_text.h"
#include "devices/qv4m/param_checks.h"
#include "devices/qv4m/qv4m_file_commands.h"
#include "devices/qv4m/qv4m_mode_page.h"
#include "devices/qv4m/qv4m_times_page.h"
#include "devices/qv4m/radio_group.h"
#include "devices/qv4m/ro4d_captions.h"
#include "shell/box_message.h"
#include "shell/edit_marks.h"
#include "shell/page_scroll.h"
#include "shell/relcon4_window.h"
#include "shell/where_bar.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>

namespace {

// Other windows of the program reuse names like "CheckBox1", so controls are
// looked up on the two pages only.
template <typename T> T* onPages(const TQv4mPages* pages, const char* name) {
    const QString key = QLatin1String(name);
    T* w = pages->ModePage->findChild<T*>(key);
    if (!w)
        w = pages->TimesPage->findChild<T*>(key);
    if (!w)
        qFatal("RO-4D pages: no control %s", name);
    return w;
}

} // namespace

TQv4mPages::TQv4mPages(TRelcon4* owner) : QObject(owner), owner_(owner) {
    setObjectName(QStringLiteral("Qv4mPages"));
}

TQv4mParams TQv4mPages::ReadParams() const {
    TQv4mParams p;
    for (const TRo4dValueCaption& f : Ro4dValueCaptions())
        p.*f.field = onPages<QLineEdit>(this, f.edit)->text();
    for (const TRo4dOptionCaption& f : Ro4dOptionCaptions())
        p.*f.option = onPages<QAbstractButton>(this, f.box)->isChecked();
    p.RadioGroup2 = onPages<TRadioGroup>(this, "RadioGroup2")->itemIndex();
    for (const TRo4dLineCaption& b : Ro4dLineCaptions())
        if (onPages<QAbstractButton>(this, b.box)->isChecked())
            p.LineChecks |= b.bit;
    return p;
}

void TQv4mPages::WriteParams(const TQv4mParams& p) {
    TEditorQuiet quiet(*owner_);
    for (const TRo4dValueCaption& f : Ro4dValueCaptions())
        onPages<QLineEdit>(this, f.edit)->setText(p.*f.field);
    for (const TRo4dOptionCaption& f : Ro4dOptionCaptions())
        onPages<QAbstractButton>(this, f.box)->setChecked(p.*f.option);
    onPages<TRadioGroup>(this, "RadioGroup2")->setItemIndex(p.RadioGroup2);
    // The board switch boxes are set on the board, not here.
    for (const TRo4dLineCaption& b : Ro4dLineCaptions())
        if (b.bit & sig::Lines)
            onPages<QAbstractButton>(this, b.box)->setChecked(p.LineChecks & b.bit);
}

bool TQv4mPages::PageImage(TRo4dImage& image, TQv4mParams* adjusted) const {
    TQv4mParams p = ReadParams();
    if (!IsUsableVref(LenientToDouble(p.VoltOpora)))
        return false;
    const TModeEditor ed = ModePage->ReadEditor();
    p.LineChecks = AdjustLineChecks(p.LineChecks, UsedLineSignals(ed, p.CheckBox19, p.RadioGroup2),
                                    p.BlockFreeSignal);
    const std::uint16_t flagMode1 =
        PackFlagMode1(p, ed.mainMode, ed.m1.orAnd.index, ed.m2.orAnd.index);
    image = {mParamRegs, mModeRegs, mExtraWords};
    BuildParamWords(p, flagMode1, owner_->rVoltOpora, IsBoard2x(owner_->bVers), image.params,
                    &ShownCodes);
    const auto modeWords = PackModeWords(ed).toArray();
    std::copy(modeWords.begin(), modeWords.end(), image.mode.begin());
    image.extra[0] = p.BlockFreeSignal ? 1 : 0;
    if (adjusted)
        *adjusted = p;
    return true;
}

bool TQv4mPages::prPageToRegs(const QString& fileName, bool writeConfig, bool writeExport) {
    TRo4dImage image;
    TQv4mParams p;
    if (!PageImage(image, &p)) {
        ShowPlainMessage(UnusableVrefMessage());
        return false;
    }
    WriteParams(p);
    std::array<std::uint16_t, kModeFieldCount> modeWords{};
    std::copy_n(image.mode.begin(), kModeFieldCount, modeWords.begin());
    SetModeWords(*owner_, TModeWords::fromArray(modeWords));
    mParamRegs = image.params;
    mModeRegs = image.mode;
    mExtraWords = image.extra;
    if (writeConfig)
        WriteConfigFileOf(fileName);
    if (writeExport)
        WriteRegExport();
    return true;
}

void TQv4mPages::prShowParamRegs(const TParamRegs& regs) {
    TQv4mParams p = ReadParams();
    auto* mainMode = onPages<QComboBox>(this, "MainModeComboBox");
    int mode = mainMode->currentIndex();
    ShowParamWords(regs, owner_->rVoltOpora, IsBoard2x(owner_->bVers), p, mode, &ShownCodes);
    TEditorQuiet quiet(*owner_);
    WriteParams(p);
    mainMode->setCurrentIndex(mode);
}

void TQv4mPages::prSetBoardLayout() {
    TimesPage->prSetBoardLayout(IsBoard2x(owner_->bVers));
    CheckEntries();
}

std::vector<TEntryFault> TQv4mPages::CheckEntries() {
    const TQv4mParams p = ReadParams();
    const std::vector<TRo4dEntry> entries =
        Ro4dEntries(p, owner_->rVoltOpora, IsBoard2x(owner_->bVers));
    std::vector<TEntryFault> faults;
    for (const TRo4dValueCaption& f : Ro4dValueCaptions()) {
        auto* edit = onPages<QLineEdit>(this, f.edit);
        const auto e = std::find_if(entries.begin(), entries.end(),
                                    [&](const TRo4dEntry& x) { return x.text == f.field; });
        if (e == entries.end())
            UnmarkEntry(edit);
        else
            MarkEntry(edit, e->check, &faults);
    }
    return faults;
}

void TQv4mPages::NoteBaseline() {
    PageImage(Baseline);
    if (Marks)
        Marks->setBaseline();
}

bool TQv4mPages::EntriesAllowWrite() {
    return ::EntriesAllowWrite(CheckEntries());
}

void TQv4mPages::WatchEntries() {
    for (const TRo4dValueCaption& f : Ro4dValueCaptions())
        connect(onPages<QLineEdit>(this, f.edit), &QLineEdit::textChanged, this,
                [this] { CheckEntries(); });
    CheckEntries();
}

TQv4mPages* InstallQv4mPages(TRelcon4* window) {
    auto* pages = new TQv4mPages(window);
    pages->ModePage = new TQv4mModePage(window, window->TabSheet3);
    pages->TimesPage = new TQv4mTimesPage(window->TabSheet6);
    PlaceScrolling(window->TabSheet3, pages->ModePage);
    PlaceScrolling(window->TabSheet6, pages->TimesPage);
    pages->WatchEntries();
    pages->Marks =
        new TEditMarks(QStringLiteral("RO-4D"), {window->TabSheet3, window->TabSheet6}, window);
    pages->Marks->Revert = [window, pages] { Qv4mLoadImage(*window, *pages, pages->Baseline); };
    pages->Marks->Save = [pages] {
        Qv4mButton3Click(*pages);
        return !pages->Marks->edited();
    };
    pages->NoteBaseline();
    if (window->WhereBar)
        window->WhereBar->watch(pages->Marks);
    return pages;
}

TQv4mPages* Qv4mPagesOf(const TRelcon4* window) {
    return window ? window->findChild<TQv4mPages*>(QStringLiteral("Qv4mPages"),
                                                   Qt::FindDirectChildrenOnly)
                  : nullptr;
}

void ApplyQv4mMainMode(TRelcon4* window) {
    if (TQv4mPages* pages = Qv4mPagesOf(window))
        pages->ModePage->prApplyMainMode();
}
