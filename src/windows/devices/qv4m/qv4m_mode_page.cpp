#include "devices/qv4m/qv4m_mode_page.h"

#include "devices/qv4m/radio_group.h"
#include "devices/qv4m/ro4d_page_captions.h"
#include "shell/relcon4_window.h"
#include "ui_qv4m_mode_page.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>

namespace {

// The window's mode fields in register order.
constexpr std::uint16_t TRelcon4::*kModeFields[kModeFieldCount] = {
    &TRelcon4::wFlagWork_M1, &TRelcon4::wFlagWork_M2, &TRelcon4::wTempV1a, &TRelcon4::wTempV2a,
    &TRelcon4::wTempV3a,     &TRelcon4::wTempV4a,     &TRelcon4::wTempV5a, &TRelcon4::wTempS3a,
    &TRelcon4::wTempS4a,     &TRelcon4::wTempS5a,     &TRelcon4::wTempS6a, &TRelcon4::wTempV1b,
    &TRelcon4::wTempV2b,     &TRelcon4::wTempV3b,     &TRelcon4::wTempV4b, &TRelcon4::wTempV5b,
    &TRelcon4::wTempS3b,     &TRelcon4::wTempS4b,     &TRelcon4::wTempS5b, &TRelcon4::wTempS6b,
};

// Object-name stems of the matrix rows.
const char* const kRowNames[kMatrixRows] = {"K1", "Op", "K3", "Zp", "C1", "C3"};

template <typename T> T* need(const QWidget* root, const QString& name) {
    T* w = root->findChild<T*>(name);
    if (!w)
        qFatal("mode page: no control %s", qPrintable(name));
    return w;
}

// A control's own enabled state: the window is disabled until activation.
TBox readBox(const QAbstractButton* b) {
    return {b->isChecked(), b->isEnabledTo(b->parentWidget())};
}

void writeBox(QAbstractButton* b, const TBox& box) {
    b->setChecked(box.checked);
    b->setEnabled(box.enabled);
}

TChoice readChoice(const QComboBox* c) {
    return {c->currentIndex(), c->isEnabledTo(c->parentWidget())};
}
TChoice readChoice(const TRadioGroup* g) {
    return {g->itemIndex(), g->isEnabledTo(g->parentWidget())};
}

void writeChoice(QComboBox* c, const TChoice& choice) {
    c->setCurrentIndex(choice.index);
    c->setEnabled(choice.enabled);
}

void writeChoice(TRadioGroup* g, const TChoice& choice) {
    g->setItemIndex(choice.index);
    g->setEnabled(choice.enabled);
}

} // namespace

TEditorQuiet::TEditorQuiet(TRelcon4& window) : window_(window), before_(window.fNotSetCheckBoxs) {
    window_.fNotSetCheckBoxs = true;
}

TEditorQuiet::~TEditorQuiet() {
    window_.fNotSetCheckBoxs = before_;
}

TModeWords ModeWordsOf(const TRelcon4& window) {
    std::array<std::uint16_t, kModeFieldCount> words{};
    for (int i = 0; i < kModeFieldCount; ++i)
        words[i] = window.*kModeFields[i];
    return TModeWords::fromArray(words);
}

void SetModeWords(TRelcon4& window, const TModeWords& words) {
    const auto array = words.toArray();
    for (int i = 0; i < kModeFieldCount; ++i)
        window.*kModeFields[i] = array[i];
}

TQv4mModePage::TQv4mModePage(TRelcon4* owner, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TQv4mModePage>()), owner_(owner) {
    ui->setupUi(this);
    ApplyRo4dCaptions(this);
    m1_ = bindChannel(QStringLiteral("M1"), QStringLiteral("T_min6a_Edit"));
    m2_ = bindChannel(QStringLiteral("M2"), QStringLiteral("T_min6b_Edit"));
    mainMode_ = ui->MainModeComboBox;
    m2Group_ = ui->M2_GroupBox;
    connectHandlers();
}

TQv4mModePage::~TQv4mModePage() = default;

TQv4mModePage::ChannelWidgets TQv4mModePage::bindChannel(const QString& ch,
                                                         const QString& tmin6Edit) const {
    ChannelWidgets w;
    for (int s = 0; s < kMatrixRows; ++s) {
        const QString row = QLatin1String(kRowNames[s]);
        w.start[s] = need<QAbstractButton>(this, row + '_' + ch + QStringLiteral("_CheckBox"));
        w.toggle[s] = need<QAbstractButton>(this, row + '_' + ch + QStringLiteral("_ToggleSwitch"));
        w.stop[s] = need<QAbstractButton>(this, row + QStringLiteral("stop_") + ch +
                                                    QStringLiteral("_CheckBox"));
    }
    w.main1 = need<QComboBox>(this, QStringLiteral("Main1_") + ch + QStringLiteral("_ComboBox"));
    w.main2 = need<QComboBox>(this, QStringLiteral("Main2_") + ch + QStringLiteral("_ComboBox"));
    w.orAnd = need<TRadioGroup>(this, QStringLiteral("RadioGroupOrAnd_") + ch);
    w.stopVariant =
        need<TRadioGroup>(this, QStringLiteral("Tmin6Mode") + ch + QStringLiteral("RadioGroup"));
    const auto box = [&](const char* stem, const char* tail) {
        return need<QAbstractButton>(this, QLatin1String(stem) + ch + QLatin1String(tail));
    };
    w.activateTwait = box("ActivateTwait", "CheckBox");
    w.dopIf = box("DopIfAfterTwait", "CheckBox");
    w.dopToggle = box("DopIfAfterTwait", "ToggleSwitch");
    w.activateTend = box("ActivateTend", "CheckBox");
    w.activateT240 = box("ActivateT240", "CheckBox");
    w.tmin6Edit = need<QLineEdit>(this, tmin6Edit);
    return w;
}

void TQv4mModePage::connectHandlers() {
    for (int s = 0; s < kMainSignals; ++s) {
        connect(m1_.start[s], &QAbstractButton::toggled, this, &TQv4mModePage::K1_M1_CheckBoxClick);
        connect(m1_.toggle[s], &QAbstractButton::toggled, this,
                &TQv4mModePage::K1_M1_ToggleSwitchClick);
    }
    for (QComboBox* c : {m1_.main1, m1_.main2, m2_.main1, m2_.main2, mainMode_})
        connect(c, &QComboBox::currentIndexChanged, this, &TQv4mModePage::MainModeComboBoxChange);
    for (TRadioGroup* g : {m1_.orAnd, m2_.orAnd})
        connect(g, &TRadioGroup::itemIndexChanged, this, &TQv4mModePage::MainModeComboBoxChange);
}

template <typename F> void TQv4mModePage::edit(F&& rule) {
    TModeEditor ed = ReadEditor();
    rule(ed);
    WriteEditor(ed);
}

void TQv4mModePage::K1_M1_CheckBoxClick() {
    if (owner_->fNotSetCheckBoxs)
        return;
    TEditorQuiet quiet(*owner_);
    prMirrorStartChecks();
}

void TQv4mModePage::K1_M1_ToggleSwitchClick() {
    if (owner_->fNotSetCheckBoxs)
        return;
    TEditorQuiet quiet(*owner_);
    prMirrorToggles();
}

void TQv4mModePage::MainModeComboBoxChange() {
    if (owner_->fNotSetCheckBoxs)
        return;
    TEditorQuiet quiet(*owner_);
    prApplyMainMode();
    prMirrorToggles();
}

void TQv4mModePage::prMirrorStartChecks() {
    edit([](TModeEditor& ed) { MirrorStartChecks(ed); });
}

void TQv4mModePage::prMirrorToggles() {
    edit([](TModeEditor& ed) { MirrorToggles(ed); });
}

void TQv4mModePage::prEnableM2Controls(bool enabled, bool tmin6EditEnabled) {
    edit([=](TModeEditor& ed) { EnableM2Controls(ed, enabled, tmin6EditEnabled); });
}

void TQv4mModePage::prApplyMainMode() {
    edit([](TModeEditor& ed) { ApplyMainMode(ed); });
}

void TQv4mModePage::prPackModeWords() {
    SetModeWords(*owner_, PackModeWords(ReadEditor()));
}

void TQv4mModePage::prUnpackModeWords() {
    edit([this](TModeEditor& ed) { UnpackModeWords(ModeWordsOf(*owner_), ed); });
}

void TQv4mModePage::prRestoreModeEditor(std::uint16_t flagMode1) {
    edit([=, this](TModeEditor& ed) { RestoreModeEditor(ModeWordsOf(*owner_), flagMode1, ed); });
}

TModeEditor TQv4mModePage::ReadEditor() const {
    TModeEditor ed;
    const auto readChannel = [](const ChannelWidgets& w, TChannelControls& ch) {
        for (int s = 0; s < kMatrixRows; ++s) {
            ch.start[s] = readBox(w.start[s]);
            ch.toggle[s] = readBox(w.toggle[s]);
            ch.stop[s] = readBox(w.stop[s]);
        }
        ch.main1 = readChoice(w.main1);
        ch.main2 = readChoice(w.main2);
        ch.orAnd = readChoice(w.orAnd);
        ch.stopVariant = readChoice(w.stopVariant);
        ch.activateTwait = readBox(w.activateTwait);
        ch.dopIf = readBox(w.dopIf);
        ch.dopToggle = readBox(w.dopToggle);
        ch.activateTend = readBox(w.activateTend);
        ch.activateT240 = readBox(w.activateT240);
        ch.tmin6EditEnabled = w.tmin6Edit->isEnabledTo(w.tmin6Edit->parentWidget());
    };
    readChannel(m1_, ed.m1);
    readChannel(m2_, ed.m2);
    ed.mainMode = mainMode_->currentIndex();
    ed.m2Caption = m2Group_->title();
    return ed;
}

void TQv4mModePage::WriteEditor(const TModeEditor& ed) {
    const auto writeChannel = [](const ChannelWidgets& w, const TChannelControls& ch) {
        for (int s = 0; s < kMatrixRows; ++s) {
            writeBox(w.start[s], ch.start[s]);
            writeBox(w.toggle[s], ch.toggle[s]);
            writeBox(w.stop[s], ch.stop[s]);
        }
        writeChoice(w.main1, ch.main1);
        writeChoice(w.main2, ch.main2);
        writeChoice(w.orAnd, ch.orAnd);
        writeChoice(w.stopVariant, ch.stopVariant);
        writeBox(w.activateTwait, ch.activateTwait);
        writeBox(w.dopIf, ch.dopIf);
        writeBox(w.dopToggle, ch.dopToggle);
        writeBox(w.activateTend, ch.activateTend);
        writeBox(w.activateT240, ch.activateT240);
        w.tmin6Edit->setEnabled(ch.tmin6EditEnabled);
    };
    TEditorQuiet quiet(*owner_);
    writeChannel(m1_, ed.m1);
    writeChannel(m2_, ed.m2);
    mainMode_->setCurrentIndex(ed.mainMode);
    m2Group_->setTitle(ed.m2Caption);
}
