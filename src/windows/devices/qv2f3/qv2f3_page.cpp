#include "devices/qv2f3/qv2f3_page.h"
#include "devices/qv1/unit_text.h"

#include "devices/entries/entry_marks.h"
#include "devices/qv1/qv1_link.h"
#include "devices/qv2f3/delay_entries.h"
#include "devices/qv2f3/zi2z3_service.h"
#include "shell/edit_marks.h"
#include "shell/page_scroll.h"
#include "shell/relcon4_window.h"
#include "shell/where_bar.h"
#include "ui_qv2f3_page.h"

#include <QCheckBox>
#include <QLineEdit>

using namespace qv2f3;

TQv2f3Page* Qv2f3Page = nullptr;

namespace {

const QString kLinkFailed = QStringLiteral("Статус: ошибки связи");
const QString kDone = QStringLiteral("Статус: успешно");
const QString kReading = QStringLiteral("Статус: идёт считывание...");
const QString kUnknownUnit = UnitCaption(QStringLiteral("?"));

} // namespace

TQv2f3Page::TQv2f3Page(bool& blockPressKey, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TQv2f3Page>()), blockPressKey_(blockPressKey) {
    ui->setupUi(this);
    // The place panels only display; keep their values legible while disabled.
    for (QWidget* panel : {ui->Place1GroupBox, ui->Place2GroupBox}) {
        QPalette palette = panel->palette();
        for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
        panel->setPalette(palette);
    }
    connectButtons();
    for (QLineEdit* edit : delayEdits())
        connect(edit, &QLineEdit::textChanged, this, [this] { CheckEntries(); });
    CheckEntries();
}

TQv2f3Page::~TQv2f3Page() {
    if (Qv2f3Page == this)
        Qv2f3Page = nullptr;
}

void TQv2f3Page::connectButtons() {
    const std::pair<QPushButton*, void (TQv2f3Page::*)()> handlers[] = {
        {ui->Button17, &TQv2f3Page::Button17Click},
        {ui->QV2_RereadButton, &TQv2f3Page::QV2_RereadButtonClick},
        {ui->QV2_WriteButton, &TQv2f3Page::QV2_WriteButtonClick},
        {ui->QV2_cmd00_Button, &TQv2f3Page::QV2_cmd00_ButtonClick},
        {ui->QV2_cmd01_Button, &TQv2f3Page::QV2_cmd01_ButtonClick},
        {ui->QV2_cmd02_Button, &TQv2f3Page::QV2_cmd02_ButtonClick},
        {ui->QV2_cmd03_Button, &TQv2f3Page::QV2_cmd03_ButtonClick},
        {ui->QV2_cmd04_Button, &TQv2f3Page::QV2_cmd04_ButtonClick},
        {ui->QV2_cmd05_Button, &TQv2f3Page::QV2_cmd05_ButtonClick},
        {ui->QV2_cmd06_Button, &TQv2f3Page::QV2_cmd06_ButtonClick},
        {ui->QV2_cmd80_Button, &TQv2f3Page::QV2_cmd80_ButtonClick},
        {ui->QV2_start_Button, &TQv2f3Page::QV2_start_ButtonClick},
        {ui->QV2_stop_Button, &TQv2f3Page::QV2_stop_ButtonClick},
    };
    for (const auto& [button, handler] : handlers)
        connect(button, &QPushButton::clicked, this, handler);
}

// ---- display operations ----

void TQv2f3Page::setTexts(const std::vector<TFieldText>& fields) {
    for (const TFieldText& field : fields)
        if (auto* edit = findChild<QLineEdit*>(field.name))
            edit->setText(field.text);
}

void TQv2f3Page::setChecks(const std::vector<TFieldCheck>& fields) {
    for (const TFieldCheck& field : fields)
        if (auto* box = findChild<QCheckBox*>(field.name))
            box->setChecked(field.checked);
}

template <std::size_t N> void TQv2f3Page::clearFields(const std::array<QString, N>& names) {
    for (const QString& name : names)
        if (auto* edit = name.isEmpty() ? nullptr : findChild<QLineEdit*>(name))
            edit->clear();
}

void TQv2f3Page::prSetStatus(std::uint8_t bSt1, std::uint8_t bSt2) {
    setChecks(StatusChecks(1, bSt1));
    setChecks(StatusChecks(2, bSt2));
}

void TQv2f3Page::prSetVoltHH(std::uint8_t bVariant, std::uint8_t bVal1H, std::uint8_t bVal1L,
                             std::uint8_t bVal2H, std::uint8_t bVal2L) {
    setTexts(VoltFields(bVariant, 1, bVal1H, bVal1L));
    setTexts(VoltFields(bVariant, 2, bVal2H, bVal2L));
}

void TQv2f3Page::prClearVoltHH(std::uint8_t bVariant) {
    clearFields(VoltFieldNames(bVariant));
}

void TQv2f3Page::prSetTimePreset(std::uint8_t bNumChannel, std::uint8_t bTon11,
                                 std::uint8_t bToff11, std::uint8_t bTauto11, std::uint8_t bTon12,
                                 std::uint8_t bToff12, std::uint8_t bTauto12) {
    setTexts(PresetFields(bNumChannel, {bTon11, bToff11, bTauto11, bTon12, bToff12, bTauto12}));
}

void TQv2f3Page::prClearTimePreset(std::uint8_t bNumChannel) {
    clearFields(PresetFieldNames(bNumChannel));
}

void TQv2f3Page::prSetTimeIzmer(std::uint8_t bNumChannel, std::uint16_t wTon11,
                                std::uint16_t wToff11, std::uint16_t wTauto11, std::uint16_t wTon12,
                                std::uint16_t wToff12, std::uint16_t wTauto12) {
    const std::uint16_t words[] = {wTon11, wToff11, wTauto11, wTon12, wToff12, wTauto12};
    for (int k = 0; k < 6; ++k)
        setTexts(MeasuredField(bNumChannel, k, words[k]));
}

void TQv2f3Page::prClearTimeIzmer(std::uint8_t bNumChannel) {
    clearFields(MeasuredFieldNames(bNumChannel));
}

// ---- exchanges ----

void TQv2f3Page::setStatus(const QString& text) {
    ui->StatusLabel3->setText(text);
}

template <class Body> void TQv2f3Page::guarded(Body body) {
    if (blockPressKey_)
        return;
    blockPressKey_ = true;
    body();
    blockPressKey_ = false;
}

bool TQv2f3Page::funQV2StartSession(QString& ident) {
    return Zi2z3StartSession(ident).ok();
}

bool TQv2f3Page::funQV2ReadTimes() {
    TDelaySettings values{};
    if (!Zi2z3ReadDelays(values).ok())
        return false;
    const auto edits = delayEdits();
    for (std::size_t k = 0; k < values.size(); ++k)
        edits[k]->setText(QString::number(values[k]));
    return true;
}

bool TQv2f3Page::funQV2WriteTimes() {
    const auto edits = delayEdits();
    TDelaySettings values{};
    for (std::size_t k = 0; k < values.size(); ++k)
        values[k] = static_cast<std::uint8_t>(qv1::ParseLenientInt(edits[k]->text()) & 0xFF);
    return Zi2z3WriteDelays(values).ok();
}

std::array<QLineEdit*, 6> TQv2f3Page::delayEdits() const {
    return {ui->QV2_T11_Edit, ui->QV2_T12_Edit, ui->QV2_T13_Edit,
            ui->QV2_T21_Edit, ui->QV2_T22_Edit, ui->QV2_T23_Edit};
}

void TQv2f3Page::NoteBaseline() {
    const auto edits = delayEdits();
    for (std::size_t k = 0; k < edits.size(); ++k)
        baseline_[k] = edits[k]->text();
    if (Marks)
        Marks->setBaseline();
}

void TQv2f3Page::RevertToBaseline() {
    const auto edits = delayEdits();
    for (std::size_t k = 0; k < edits.size(); ++k)
        edits[k]->setText(baseline_[k]);
}

std::vector<TEntryFault> TQv2f3Page::CheckEntries() {
    std::vector<TEntryFault> faults;
    const auto edits = delayEdits();
    for (std::size_t k = 0; k < edits.size(); ++k)
        MarkEntry(edits[k], Zi2z3DelayEntry(k), &faults);
    return faults;
}

// ---- handlers ----

void TQv2f3Page::Button17Click() {
    guarded([this] {
        setStatus(kReading);
        Qv1OpenClose(true);
        ui->QV2MverLabel->setText(kUnknownUnit);
        QString ident;
        bool ok = funQV2StartSession(ident);
        if (ok) {
            ui->QV2MverLabel->setText(UnitCaption(ident));
            if (TWhereBar* bar = WhereBarOf(this)) {
                bar->showUnit(QStringLiteral("ZI2-Z3"), ident);
                bar->showSession(QStringLiteral("сеанс ZI2-Z3 начат"));
            }
            ok = funQV2ReadTimes();
        }
        Qv1OpenClose(false);
        if (ok)
            NoteBaseline();
        setStatus(ok ? kDone : kLinkFailed);
    });
}

void TQv2f3Page::QV2_RereadButtonClick() {
    guarded([this] {
        setStatus(kReading);
        for (QLineEdit* edit : delayEdits())
            edit->clear();
        Qv1OpenClose(true);
        const bool ok = funQV2ReadTimes();
        Qv1OpenClose(false);
        if (ok)
            NoteBaseline();
        setStatus(ok ? kDone : kLinkFailed);
    });
}

void TQv2f3Page::QV2_WriteButtonClick() {
    guarded([this] {
        setStatus(QStringLiteral("Статус: идёт запись..."));
        if (!EntriesAllowWrite(CheckEntries())) {
            setStatus(kLinkFailed);
            return;
        }
        Qv1OpenClose(true);
        const bool ok = funQV2WriteTimes();
        Qv1OpenClose(false);
        if (ok)
            NoteBaseline();
        setStatus(ok ? kDone : kLinkFailed);
    });
}

void TQv2f3Page::runBenchCommand(std::uint8_t code) {
    const TBenchCommand* command = FindBenchCommand(code);
    if (command == nullptr)
        return;
    guarded([this, command] {
        setStatus(QString::fromUtf8(command->progress));
        switch (command->clear) {
        case TBenchClear::Nothing:
            break;
        case TBenchClear::IdleVolt:
            prClearVoltHH(1);
            break;
        case TBenchClear::WorkVolt:
            prClearVoltHH(2);
            break;
        case TBenchClear::WorkCurrent:
            prClearVoltHH(3);
            break;
        case TBenchClear::Presets:
            prClearTimePreset(1);
            prClearTimePreset(2);
            break;
        case TBenchClear::Measured:
            prClearTimeIzmer(1);
            prClearTimeIzmer(2);
            break;
        }
        // No reply is awaited: the bench answers with packets the watch takes.
        const bool ok = Zi2z3SendBenchCommand(command->code).ok();
        setStatus(ok ? QString::fromUtf8(command->success) : kLinkFailed);
    });
}

void TQv2f3Page::QV2_cmd00_ButtonClick() {
    runBenchCommand(0x00);
}
void TQv2f3Page::QV2_cmd01_ButtonClick() {
    runBenchCommand(0x01);
}
void TQv2f3Page::QV2_cmd02_ButtonClick() {
    runBenchCommand(0x02);
}
void TQv2f3Page::QV2_cmd03_ButtonClick() {
    runBenchCommand(0x03);
}
void TQv2f3Page::QV2_cmd04_ButtonClick() {
    runBenchCommand(0x04);
}
void TQv2f3Page::QV2_cmd05_ButtonClick() {
    runBenchCommand(0x05);
}
void TQv2f3Page::QV2_cmd06_ButtonClick() {
    runBenchCommand(0x06);
}
void TQv2f3Page::QV2_cmd80_ButtonClick() {
    runBenchCommand(0x80);
}

void TQv2f3Page::setWatching(bool watching) {
    for (QPushButton* button : {ui->QV2_cmd00_Button, ui->QV2_cmd01_Button, ui->QV2_cmd02_Button,
                                ui->QV2_cmd03_Button, ui->QV2_cmd04_Button, ui->QV2_cmd05_Button,
                                ui->QV2_cmd06_Button, ui->QV2_cmd80_Button, ui->QV2_stop_Button})
        button->setEnabled(watching);
    ui->QV2_start_Button->setEnabled(!watching);
    if (TWhereBar* bar = WhereBarOf(this))
        bar->showWatch(watching);
}

void TQv2f3Page::QV2_start_ButtonClick() {
    guarded([this] {
        setStatus(QStringLiteral("Статус: захват СОМ-порта"));
        setWatching(Zi2z3StartWatch().ok());
        setStatus(QStringLiteral("Статус: ожидание посылок"));
    });
}

void TQv2f3Page::QV2_stop_ButtonClick() {
    guarded([this] {
        setStatus(QStringLiteral("Статус: освобождение СОМ-порта"));
        Zi2z3StopWatch();
        setWatching(false);
        setStatus(QStringLiteral("Статус: освобождение СОМ-порта выполнено"));
    });
}

// ---- background watch ----

void TQv2f3Page::onPacket(const std::uint8_t* bytes, std::size_t count) {
    Zi2z3TakePacket(bytes, count, [this](const TBenchDecoded& decoded) {
        setTexts(decoded.texts);
        setChecks(decoded.checks);
    });
}

TQv2f3Page* InstallQv2f3Page(TRelcon4* window) {
    Qv2f3Page = new TQv2f3Page(window->fBlockPressKey, window->TabSheet4);
    Qv2f3Page->setObjectName(QStringLiteral("Qv2f3Page"));
    PlaceScrolling(window->TabSheet4, Qv2f3Page);
    Qv2f3Page->Marks = new TEditMarks(QStringLiteral("ZI2-Z3"), {window->TabSheet4}, window);
    Qv2f3Page->Marks->Revert = [page = Qv2f3Page] { page->RevertToBaseline(); };
    if (window->WhereBar)
        window->WhereBar->watch(Qv2f3Page->Marks);
    return Qv2f3Page;
}
