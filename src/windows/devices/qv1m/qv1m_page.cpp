#include "devices/qv1m/qv1m_page.h"

#include "devices/qv1m/busy_guard.h"
#include "devices/qv1m/qv1m_compare_commands.h"
#include "devices/qv1m/qv1m_convert.h"
#include "shell/edit_marks.h"
#include "shell/page_scroll.h"
#include "shell/relcon4_window.h"
#include "shell/where_bar.h"
#include "ui_qv1m_page.h"

#include <QAction>
#include <QButtonGroup>
#include <QRadioButton>

namespace {

// Item index of a radio group: the id of its checked button, 0 when none is.
int itemIndex(const QButtonGroup* items) {
    return std::max(items->checkedId(), 0);
}

void setItemIndex(QButtonGroup* items, int index) {
    if (QAbstractButton* b = items->button(index))
        b->setChecked(true);
}

// The two radio buttons of a group, numbered as its items.
QButtonGroup* itemsOf(QGroupBox* group) {
    auto* items = new QButtonGroup(group);
    for (int i = 0; i < 2; ++i)
        items->addButton(group->findChild<QRadioButton*>(group->objectName() + QLatin1Char('_') +
                                                         QString::number(i)),
                         i);
    return items;
}

} // namespace

TQv1mPage::TQv1mPage(TRelcon4* owner, QWidget* parent)
    : QWidget(parent), owner_(owner), ui(std::make_unique<Ui::TQv1mPage>()) {
    ui->setupUi(this);
    for (int c = 1; c <= kQv1ChannelCount; ++c)
        bindChannel(c);
    connectHandlers();
    showFilePath();
    watchEntries();
}

TQv1mPage::~TQv1mPage() = default;

void TQv1mPage::bindChannel(int c) {
    TChannelControls& k = controls(c);
    const QString n = QString::number(c);
    k.ton = findChild<QLineEdit*>(QStringLiteral("edTonM") + n);
    k.t6sec = findChild<QLineEdit*>(QStringLiteral("edT6secM") + n);
    k.toff = findChild<QLineEdit*>(QStringLiteral("edToffM") + n);
    for (int row = 0; row < 3; ++row)
        k.hints[static_cast<std::size_t>(row)] =
            findChild<QLabel*>(QStringLiteral("Label%1").arg(79 + 3 * (c - 1) + row));
    k.control = findChild<QGroupBox*>(QStringLiteral("RadioGroup%1").arg(2 * c - 1));
    k.work = findChild<QGroupBox*>(QStringLiteral("RadioGroupK") + n);
    k.controlItems = itemsOf(k.control);
    k.workItems = itemsOf(k.work);
    const QString pair = QStringLiteral("K%1K%2").arg(2 * c - 1).arg(2 * c);
    k.faultCheck = findChild<QCheckBox*>(QStringLiteral("chbEnErr") + pair);
    k.inverse = findChild<QCheckBox*>(QStringLiteral("chbInverse") + pair);
}

void TQv1mPage::connectHandlers() {
    using Handler = void (TQv1mPage::*)();
    const std::array<std::pair<QButtonGroup*, Handler>, 6> radios{{
        {controls(1).controlItems, &TQv1mPage::RadioGroup1Click},
        {controls(1).workItems, &TQv1mPage::RadioGroupK1Click},
        {controls(2).controlItems, &TQv1mPage::RadioGroup3Click},
        {controls(2).workItems, &TQv1mPage::RadioGroupK2Click},
        {controls(3).controlItems, &TQv1mPage::RadioGroup5Click},
        {controls(3).workItems, &TQv1mPage::RadioGroupK3Click},
    }};
    for (const auto& [items, handler] : radios)
        connect(items, &QButtonGroup::idClicked, this, handler);
    connect(ui->ComboBox2, &QComboBox::activated, this, &TQv1mPage::ComboBox2Click);
    const std::array<std::pair<QPushButton*, Handler>, 10> buttons{{
        {ui->Button5, &TQv1mPage::Button5Click},
        {ui->Button6, &TQv1mPage::Button6Click},
        {ui->Button7, &TQv1mPage::Button7Click},
        {ui->Button8, &TQv1mPage::Button8Click},
        {ui->Button9, &TQv1mPage::Button9Click},
        {ui->Button10, &TQv1mPage::Button10Click},
        {ui->Button13, &TQv1mPage::Button13Click},
        {ui->Button14, &TQv1mPage::Button14Click},
        {ui->Button15, &TQv1mPage::Button15Click},
        {ui->Button16, &TQv1mPage::Button16Click},
    }};
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, handler);
    // The file buttons keep their fixed QV1M.ini; the same set under another
    // name is in their context menus and on keys.
    const std::array<std::tuple<QPushButton*, const char*, QKeySequence, Handler>, 2> named{{
        {ui->Button14, "Сохранить все настройки в файл…",
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &TQv1mPage::SaveSetAsClick},
        {ui->Button15, "Загрузить все настройки из файла…",
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), &TQv1mPage::LoadSetFromClick},
    }};
    for (const auto& [button, caption, key, handler] : named) {
        auto* action = new QAction(QString::fromUtf8(caption), button);
        action->setObjectName(button->objectName() + QStringLiteral("As"));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        button->addAction(action);
        button->setContextMenuPolicy(Qt::ActionsContextMenu);
        addAction(action);
        button->setToolTip(QStringLiteral("Другое имя и папка: правая кнопка мыши или ") +
                           key.toString(QKeySequence::NativeText));
        connect(action, &QAction::triggered, this, handler);
    }
}

bool TQv1mPage::blocked() const {
    return owner_->fBlockPressKey;
}

void TQv1mPage::runCommand(const QString& progress, const std::function<void()>& body) {
    if (blocked())
        return;
    TBusyGuard busy(owner_->fBlockPressKey);
    setStatus(progress);
    body();
}

void TQv1mPage::setStatus(const QString& text) {
    ui->StatusLabel2->setText(text);
}

QString TQv1mPage::statusText() const {
    return ui->StatusLabel2->text();
}

std::optional<double> TQv1mPage::pageReference() const {
    const std::optional<double> volts = Qv1ParseReal(ui->Volt2OporaEdit->text());
    if (volts && *volts > 0)
        return volts;
    return std::nullopt;
}

void TQv1mPage::prQV1ShowMode(int n) {
    if (Qv1ModeIndexValid(n)) {
        for (int c = 1; c <= kQv1ChannelCount; ++c) {
            const RQV1M_val1& r = channel(c)[static_cast<std::size_t>(n)];
            TChannelControls& k = controls(c);
            k.ton->setText(Qv1TimeText(r.wTimePrevOn));
            k.t6sec->setText(Qv1TimeText(r.wTime6sec));
            k.toff->setText(Qv1TimeText(r.wTimePrevOff));
            setItemIndex(k.controlItems, r.bFlag & kQv1FlagAlternate ? 1 : 0);
            setItemIndex(k.workItems, r.bFlag & kQv1FlagByTime ? 1 : 0);
            k.faultCheck->setChecked(r.bFlag & kQv1FlagFaultCheck);
            k.inverse->setChecked(r.bFlag & kQv1FlagInverse);
        }
    }
    prQV1ChannelRules(1);
    for (int c = 2; c <= kQv1ChannelCount; ++c) {
        const bool editable = Qv1ChannelEditable(n, c);
        setChannelEditable(c, editable);
        if (editable)
            prQV1ChannelRules(c);
    }
    CheckEntries();
}

void TQv1mPage::setChannelEditable(int c, bool editable) {
    TChannelControls& k = controls(c);
    for (QWidget* w : std::initializer_list<QWidget*>{k.ton, k.t6sec, k.toff, k.control, k.work})
        w->setEnabled(editable);
}

void TQv1mPage::prQV1StoreMode(int n) {
    if (!Qv1ModeIndexValid(n))
        return;
    for (int c = 1; c <= kQv1ChannelCount; ++c) {
        RQV1M_val1& r = channel(c)[static_cast<std::size_t>(n)];
        const TChannelControls& k = controls(c);
        r.wTimePrevOn = Qv1TimeFromText(k.ton->text());
        r.wTime6sec = Qv1TimeFromText(k.t6sec->text());
        r.wTimePrevOff = Qv1TimeFromText(k.toff->text());
        r.bFlag =
            static_cast<std::uint8_t>((itemIndex(k.controlItems) == 1 ? kQv1FlagAlternate : 0) |
                                      (itemIndex(k.workItems) == 1 ? kQv1FlagByTime : 0) |
                                      (k.faultCheck->isChecked() ? kQv1FlagFaultCheck : 0) |
                                      (k.inverse->isChecked() ? kQv1FlagInverse : 0));
    }
}

void TQv1mPage::prQV1ChannelRules(int c) {
    if (c < 1 || c > kQv1ChannelCount)
        return;
    TChannelControls& k = controls(c);
    const TQv1ChannelRule rule =
        Qv1ChannelRule(itemIndex(k.controlItems) == 1, itemIndex(k.workItems) == 1);
    k.ton->setEnabled(rule.tonEnabled);
    k.t6sec->setEnabled(rule.t6secEnabled);
    k.toff->setEnabled(rule.toffEnabled);
    k.hints[0]->setText(QString::fromUtf8(rule.tonHint));
    k.hints[1]->setText(QString::fromUtf8(rule.t6secHint));
    k.hints[2]->setText(QString::fromUtf8(rule.toffHint));
    CheckEntries();
}

void TQv1mPage::prQV1ShowTimeErr() {
    ui->edTimeErrK1->setText(Qv1DelayText(mQV1M_s.bTimePausePrevErr_K1));
    ui->edTimeErrK2->setText(Qv1DelayText(mQV1M_s.bTimePausePrevErr_K2));
    ui->edTimeErrK3->setText(Qv1DelayText(mQV1M_s.bTimePausePrevErr_K3));
}

void TQv1mPage::prQV1GetTimeErr() {
    mQV1M_s.bTimePausePrevErr_K1 = Qv1DelayFromText(ui->edTimeErrK1->text());
    mQV1M_s.bTimePausePrevErr_K2 = Qv1DelayFromText(ui->edTimeErrK2->text());
    mQV1M_s.bTimePausePrevErr_K3 = Qv1DelayFromText(ui->edTimeErrK3->text());
}

bool TQv1mPage::readReferenceVoltage() {
    const std::optional<double> volts = Qv1ParseReal(ui->Volt2OporaEdit->text());
    if (!volts)
        return false;
    mQV1M_s.rVolt = *volts;
    return *volts > 0;
}

void TQv1mPage::prQV1ShowVoltFlags() {
    const bool usable = readReferenceVoltage();
    const std::array<std::pair<QLineEdit*, std::uint16_t>, 3> thresholds{{
        {ui->edBut_Lvl_DO, mQV1M_s.wBut_Lvl_DO},
        {ui->edBut_Lvl_UD, mQV1M_s.wBut_Lvl_UD},
        {ui->edBut_Lvl_SC, mQV1M_s.wBut_Lvl_SC},
    }};
    // Without a usable reference the volts are unknown, as before the first read.
    for (const auto& [edit, code] : thresholds)
        edit->setText(usable ? Qv1VoltText(code, mQV1M_s.rVolt) : QStringLiteral("?"));
    ui->CheckBox3->setChecked(mQV1M_s.bFlagMode_E & kQv1ModeFaultLatch);
    ui->CheckBox4->setChecked(mQV1M_s.bFlagMode_E & kQv1ModeInvertInputs);
}

void TQv1mPage::prQV1GetVoltFlags() {
    const bool usable = readReferenceVoltage();
    const std::array<std::pair<QLineEdit*, std::uint16_t*>, 3> thresholds{{
        {ui->edBut_Lvl_DO, &mQV1M_s.wBut_Lvl_DO},
        {ui->edBut_Lvl_UD, &mQV1M_s.wBut_Lvl_UD},
        {ui->edBut_Lvl_SC, &mQV1M_s.wBut_Lvl_SC},
    }};
    // A threshold that cannot be converted keeps its code rather than turning into garbage.
    for (const auto& [edit, code] : thresholds) {
        const std::optional<double> volts = Qv1ParseReal(edit->text());
        if (!usable || !volts)
            continue;
        if (const std::optional<std::uint16_t> converted = Qv1CodeFromVolts(*volts, mQV1M_s.rVolt))
            *code = *converted;
    }
    mQV1M_s.bFlagMode_E =
        static_cast<std::uint8_t>((ui->CheckBox3->isChecked() ? kQv1ModeFaultLatch : 0) |
                                  (ui->CheckBox4->isChecked() ? kQv1ModeInvertInputs : 0));
}

void TQv1mPage::setControlsEnabled(bool on) {
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->ComboBox2, ui->Panel1, ui->GroupBox2, ui->GroupBox3,
                                         ui->Button6, ui->Button13, ui->Button7, ui->Button8})
        w->setEnabled(on);
}

void TQv1mPage::prQV1ControlsOn() {
    setControlsEnabled(true);
}

void TQv1mPage::prQV1ControlsOff() {
    setControlsEnabled(false);
}

void TQv1mPage::ComboBox2Click() {
    if (blocked())
        return;
    prQV1StoreMode(iNumMode);
    iNumMode = ui->ComboBox2->currentIndex();
    prQV1ShowMode(iNumMode);
}

void TQv1mPage::channelRadioClick(int c) {
    if (!blocked())
        prQV1ChannelRules(c);
}

TQv1mPage* InstallQv1mPage(TRelcon4* window) {
    auto* page = new TQv1mPage(window, window->TabSheet2);
    PlaceScrolling(window->TabSheet2, page);
    page->Marks = new TEditMarks(QStringLiteral("RI1-R"), {window->TabSheet2}, window);
    page->Marks->Revert = [page] { page->RevertToBaseline(); };
    page->Marks->Save = [page] {
        page->Button14Click();
        return !page->Marks->edited();
    };
    if (window->WhereBar)
        window->WhereBar->watch(page->Marks);
    InstallQv1mCompare(window, page);
    return page;
}
