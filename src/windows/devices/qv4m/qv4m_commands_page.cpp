#include "devices/qv4m/qv4m_commands_page.h"

#include "devices/qv4m/mode_editor.h"
#include "devices/qv4m/number_text.h"
#include "devices/qv4m/qv4m_compare_commands.h"
#include "devices/qv4m/qv4m_file_commands.h"
#include "devices/qv4m/qv4m_mode_page.h"
#include "devices/qv4m/qv4m_pages.h"
#include "devices/qv4m/qv4m_times_page.h"
#include "devices/qv4m/ro4d_read_decode.h"
#include "devices/qv4m/ro4d_service.h"
#include "devices/qv4m/stat_err_form.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"
#include "shell/where_bar.h"
#include "ui_qv4m_commands_page.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kDone = QStringLiteral("Статус: выполнено");
const QString kFailed = QStringLiteral("Статус: ошибка");
const QString kVersionCaption = QStringLiteral("Версия: ");

template <typename T> T* onTimesPage(TQv4mPages* pages, const char* name) {
    return pages->TimesPage->findChild<T*>(QLatin1String(name));
}

} // namespace

TQv4mCommandsPage::TQv4mCommandsPage(TRelcon4* owner, TQv4mPages* pages, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TQv4mCommandsPage>()), owner_(owner), pages_(pages) {
    ui->setupUi(this);
    setObjectName(QStringLiteral("Qv4mCommandsPage"));
    connect(ui->RdDataButton, &QPushButton::clicked, this, &TQv4mCommandsPage::RdDataButtonClick);
    connect(ui->WrDataButton, &QPushButton::clicked, this, &TQv4mCommandsPage::WrDataButtonClick);
    connect(ui->SaveToFlashButton, &QPushButton::clicked, this,
            &TQv4mCommandsPage::SaveToFlashButtonClick);
    connect(ui->RestartButton, &QPushButton::clicked, this, &TQv4mCommandsPage::RestartButtonClick);
    connect(ui->RdErrButton, &QPushButton::clicked, this, &TQv4mCommandsPage::RdErrButtonClick);
    connect(ui->Button2, &QPushButton::clicked, this, &TQv4mCommandsPage::Button2Click);
    if (auto* adc = onTimesPage<QPushButton>(pages_, "Button18"))
        connect(adc, &QPushButton::clicked, this, &TQv4mCommandsPage::Button18Click);
}

TQv4mCommandsPage::~TQv4mCommandsPage() = default;

QLabel* TQv4mCommandsPage::StatusLabel1() const {
    return ui->StatusLabel1;
}

void TQv4mCommandsPage::RunCommand(const QString& progress, const std::function<QString()>& work) {
    if (owner_->fBlockPressKey)
        return;
    owner_->fBlockPressKey = true;
    // The exchange pumps events; the page may be gone when it returns.
    QPointer<TQv4mCommandsPage> alive(this);
    ui->StatusLabel1->setText(progress);
    const QString result = work();
    if (!alive)
        return;
    ui->StatusLabel1->setText(result);
    owner_->fBlockPressKey = false;
}

void TQv4mCommandsPage::runCommand(const QString& progress, const std::function<bool()>& work) {
    RunCommand(progress, [&] { return work() ? kDone : kFailed; });
}

void TQv4mCommandsPage::applyVersion(const QString& versionText) {
    owner_->bVers = BoardGeneration(versionText);
    owner_->rVoltOpora = BoardVoltOpora(owner_->bVers);
    pages_->prSetBoardLayout();
}

bool TQv4mCommandsPage::ReadUnitImage(TRo4dUnitImage& unit) {
    return Ro4dRead(unit, {}).ok();
}

bool TQv4mCommandsPage::readAll() {
    ui->VerrQV4Label->setText(kVersionCaption);
    TEditorQuiet quiet(*owner_);
    auto* mainModeCombo =
        pages_->ModePage->findChild<QComboBox*>(QStringLiteral("MainModeComboBox"));
    TReadCarry carry;
    TRo4dReadSink sink;
    // A unit that did not answer the version is read as a 1.x board (the
    // service logs that); the label then shows the caption alone.
    sink.version = [this](const QString& version) {
        ui->VerrQV4Label->setText(kVersionCaption + version);
        applyVersion(version);
        if (TWhereBar* bar = WhereBarOf(this))
            bar->showUnit(QStringLiteral("RO-4D"), version);
    };
    // Each page goes onto the screen as it comes, so a failure part-way
    // leaves the earlier pages shown.
    sink.page = [&](int page, const TRo4dPageWords& words) {
        TQv4mParams p = pages_->ReadParams();
        int mainMode = mainModeCombo->currentIndex();
        DecodeReadPage(page, words, owner_->rVoltOpora, IsBoard2x(owner_->bVers), p, mainMode,
                       carry, &pages_->ShownCodes);
        pages_->WriteParams(p);
        mainModeCombo->setCurrentIndex(mainMode);
        if (page >= 4)
            SetModeWords(*owner_, TModeWords::fromArray(carry.modeWords));
    };
    sink.allPages = [&] { pages_->ModePage->prRestoreModeEditor(carry.flagMode1); };
    mExtraWords.fill(0);
    // Entries of pages that do not come keep no code: they are converted from their volts.
    pages_->ShownCodes.clear();
    TRo4dUnitImage unit;
    return Ro4dRead(unit, sink).ok();
}

void TQv4mCommandsPage::RdDataButtonClick() {
    runCommand(QStringLiteral("Статус: идёт считывание..."), [this] {
        const bool ok = readAll();
        if (ok) {
            pages_->NoteBaseline();
            ui->WrDataButton->setEnabled(true);
            ui->SaveToFlashButton->setEnabled(true);
        }
        return ok;
    });
}

void TQv4mCommandsPage::WrDataButtonClick() {
    bool written = false;
    QPointer<TQv4mCommandsPage> alive(this);
    runCommand(QStringLiteral("Статус: идёт запись..."), [this, &written] {
        if (!pages_->EntriesAllowWrite() ||
            !pages_->prPageToRegs(QStringLiteral("no_name"), false, false))
            return false;
        written = Ro4dWrite(mParamRegs, mModeRegs).ok();
        if (written)
            pages_->NoteBaseline();
        return written;
    });
    if (alive && written && AfterWrite)
        AfterWrite();
}

void TQv4mCommandsPage::SaveToFlashButtonClick() {
    runCommand(QStringLiteral("Статус: идёт сохранение..."), [] { return Ro4dSaveToFlash().ok(); });
}

void TQv4mCommandsPage::RestartButtonClick() {
    runCommand(QStringLiteral("Статус: перезапуск"), [] { return Ro4dRestart().ok(); });
}

bool TQv4mCommandsPage::funReadErrors() {
    if (StatErrForm)
        StatErrForm->prClearCB();
    TRo4dErrors e;
    if (!Ro4dReadErrors(e).ok())
        return false;
    if (StatErrForm) {
        StatErrForm->prSetCB(e.wErr1, e.wErr2, e.bVoltErr);
        StatErrForm->ShowNonModal();
    }
    return true;
}

void TQv4mCommandsPage::RdErrButtonClick() {
    runCommand(QStringLiteral("Статус: чтение статусов ошибок"),
               [this] { return funReadErrors(); });
}

bool TQv4mCommandsPage::funReadAdcChannel(std::uint8_t channel, std::uint16_t& value) {
    return Ro4dReadAdc(channel, value).ok();
}

void TQv4mCommandsPage::Button18Click() {
    auto* valueLabel = onTimesPage<QLabel>(pages_, "Label119");
    auto* channels = onTimesPage<QComboBox>(pages_, "ComboBox3");
    runCommand(QStringLiteral("Статус: чтение значения АЦП"), [&] {
        valueLabel->setText(QStringLiteral("Значение: ..."));
        std::uint16_t value = 0;
        if (!funReadAdcChannel(AdcChannelOf(channels->currentIndex()), value))
            return false;
        // The reference is only read here; rVoltOpora and the images stay.
        const double vref =
            LenientToDouble(onTimesPage<QLineEdit>(pages_, "VoltOporaEdit")->text());
        valueLabel->setText(QStringLiteral("Значение: ") + FormatVolts(value * vref / 1024.0) +
                            QStringLiteral(" [В]"));
        return true;
    });
}

void TQv4mCommandsPage::Button2Click() {
    if (owner_->fBlockPressKey)
        return;
    owner_->fBlockPressKey = true;
    pages_->ModePage->prPackModeWords();
    pages_->prPageToRegs(QStringLiteral("no_name"), false, true);
    owner_->fBlockPressKey = false;
}

TQv4mCommandsPage* InstallQv4mCommands(TRelcon4* window) {
    TQv4mPages* pages = Qv4mPagesOf(window);
    auto* page = new TQv4mCommandsPage(window, pages, window->TabSheet1);
    // The shell's port row goes under the first step's text; the page takes
    // the room the shell left free above the brand label.
    auto* tabLayout = qobject_cast<QVBoxLayout*>(window->TabSheet1->layout());
    auto* own = qobject_cast<QVBoxLayout*>(page->layout());
    if (tabLayout && own && tabLayout->count() >= 2) {
        QLayoutItem* portRow = tabLayout->takeAt(0);
        delete tabLayout->takeAt(0); // the shell's spacer
        if (QLayout* row = portRow->layout()) {
            row->setParent(nullptr);
            own->insertLayout(1, row);
        }
        tabLayout->insertWidget(0, page, 1);
    }
    InstallQv4mFileCommands(window, pages);
    InstallQv4mCompare(window, pages, page);
    return page;
}

TQv4mCommandsPage* Qv4mCommandsOf(const TRelcon4* window) {
    return window ? window->findChild<TQv4mCommandsPage*>(QStringLiteral("Qv4mCommandsPage"))
                  : nullptr;
}
