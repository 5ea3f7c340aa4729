#include "exchange/monitor_form.h"

#include "engine/transaction.h"
#include "exchange/exchange_settings.h"
#include "exchange/exchange_state.h"
#include "exchange/log_colors.h"
#include "exchange/log_list_model.h"
#include "exchange/log_model.h"
#include "exchange/log_recorder.h"
#include "platform/clock.h"
#include "platform/user_folders.h"
#include "platform/whole_file.h"
#include "port/channel_port.h"
#include "serial/com_port.h"
#include "shell/app_windows.h"
#include "shell/box_message.h"
#include "shell/interaction.h"
#include "shell/relcon4_window.h"
#include "ui_monitor_form.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>

namespace {

// The window's own background, Windows colour value 0x3674F0.
constexpr TLogColor kFormColor = 0x3674F0;

constexpr int kFontItem12 = 0;
constexpr int kFontItem8 = 1;
constexpr int kFormatItemHex = 0;
constexpr int kFormatItemDec = 1;

void notifyOptionsChanged() {
    if (OnLogOptionsChanged)
        OnLogOptionsChanged();
}

} // namespace

QPixmap TelemetryPicture(bool on) {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 2));
    painter.setBrush(on ? QColor(0x20, 0xD0, 0x20) : QColor(0x70, 0x70, 0x70));
    painter.drawEllipse(QRectF(3, 3, 26, 26));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, on ? 160 : 70));
    painter.drawEllipse(QRectF(9, 8, 8, 6));
    return picture;
}

TMonitorForm::TMonitorForm(QWidget* parent)
    : QWidget(parent, Qt::Window), ui_(std::make_unique<Ui::TMonitorForm>()) {
    ui_->setupUi(this);
    Panel1 = ui_->Panel1;
    MonitorPanel = ui_->MonitorPanel;
    MonitorsListView = ui_->MonitorsListView;
    OptionPanel = ui_->OptionPanel;
    TelState1Label = ui_->TelState1Label;
    TelOffImage = ui_->TelOffImage;
    TelOnImage = ui_->TelOnImage;
    TelState2Label = ui_->TelState2Label;
    TelStateEdit = ui_->TelStateEdit;
    TelStateCheckBox = ui_->TelStateCheckBox;
    FontRadioGroup = ui_->FontRadioGroup;
    FontRadioItem12 = ui_->FontRadioItem12;
    FontRadioItem8 = ui_->FontRadioItem8;
    FormatRadioGroup = ui_->FormatRadioGroup;
    FormatRadioItemHex = ui_->FormatRadioItemHex;
    FormatRadioItemDec = ui_->FormatRadioItemDec;
    DebugLogCheckBox = ui_->DebugLogCheckBox;
    CmdLogCheckBox = ui_->CmdLogCheckBox;
    TimeLogCheckBox = ui_->TimeLogCheckBox;
    RecordLogCheckBox = ui_->RecordLogCheckBox;
    SaveLogButton = ui_->SaveLogButton;
    ClearLogButton = ui_->ClearLogButton;
    RecordPathLabel = ui_->RecordPathLabel;
    setObjectName(QStringLiteral("MonitorForm"));
    FormCreate();
}

TMonitorForm::~TMonitorForm() {
    // The port goes first, so no late background call reaches a half-destroyed window.
    if (ExchangePort() == ComPortD1)
        DestroyExchangePort();
    ComPortD1 = nullptr;
}

void TMonitorForm::FormCreate() {
    ComPortD1 = CreateExchangePort();
    ComPortD1->OnRxBuf = [this] { ComPortD1RxBuf(); };

    QPalette formPalette = palette();
    formPalette.setColor(QPalette::Window, WinColorToQColor(kFormColor));
    setPalette(formPalette);
    // The panels keep the ordinary face colour inside the coloured frame; the
    // list is drawn on it too.
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    QPalette face = Panel1->palette();
    face.setColor(QPalette::Window, buttonFace);
    Panel1->setPalette(face);
    face.setColor(QPalette::Base, buttonFace);
    MonitorsListView->setPalette(face);
    MonitorsListView->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QFont listFont = MonitorsListView->font();
    listFont.setStyleHint(QFont::TypeWriter);
    listFont.setFixedPitch(true);
    MonitorsListView->setFont(listFont);

    TelOffImage->setPixmap(TelemetryPicture(false));
    TelOnImage->setPixmap(TelemetryPicture(true));
    TelOnImage->hide();

    fontGroup_ = new QButtonGroup(this);
    fontGroup_->addButton(FontRadioItem12, kFontItem12);
    fontGroup_->addButton(FontRadioItem8, kFontItem8);
    formatGroup_ = new QButtonGroup(this);
    formatGroup_->addButton(FormatRadioItemHex, kFormatItemHex);
    formatGroup_->addButton(FormatRadioItemDec, kFormatItemDec);
    connect(fontGroup_, &QButtonGroup::idClicked, this, [this] { FontRadioGroupClick(); });
    connect(formatGroup_, &QButtonGroup::idClicked, this, [this] { FormatRadioGroupClick(); });
    connect(TelStateEdit, &QLineEdit::textEdited, this, [this] { TelStateEditChange(); });

    ExchangeState.PortFailCount = 0;
    ResetLogState();
    TLogModel& log = ExchangeLog();
    log.sToLogStatus.clear();
    log.iColorToLogStatus = clLogBlack;
    connect(&log, &TLogModel::ringChanged, this, [this](int newest) { refreshRows(newest); });
    connect(CmdLogCheckBox, &QCheckBox::toggled, this,
            [](bool on) { ExchangeLog().options.cmdEntries = on; });
    connect(DebugLogCheckBox, &QCheckBox::toggled, this,
            [](bool on) { ExchangeLog().options.debugLines = on; });

    rowsModel_ = new TLogListModel(this);
    rowsModel_->setRowColor([this](int row) { return MonitorsListViewCustomDrawItem(row); });
    MonitorsListView->setModel(rowsModel_);

    FormatRadioItemHex->setChecked(true);
    LogHex = true;
    FontRadioItem12->setChecked(true);
    LogFontSize = 12;
    fStateTel = false;
    LogOldestFirst = false;
    bTelemByte = 0;
    prRefreshLog(false);
    CmdLogCheckBox->setChecked(true);
    DebugLogCheckBox->setChecked(true);
    log.options.cmdEntries = true;
    log.options.debugLines = true;
    setUpLogFile();
}

void TMonitorForm::setUpLogFile() {
    TLogModel& log = ExchangeLog();
    log.options.showTimes = false;
    MonitorsListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    CopyLogAction = new QAction(QStringLiteral("Копировать"), MonitorsListView);
    CopyLogAction->setObjectName(QStringLiteral("CopyLogAction"));
    CopyLogAction->setShortcut(QKeySequence::Copy);
    CopyLogAction->setShortcutContext(Qt::WidgetShortcut);
    MonitorsListView->addAction(CopyLogAction);
    MonitorsListView->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(CopyLogAction, &QAction::triggered, this, [this] { CopyLogClick(); });
    rowsModel_->setRowPrefix([](int row) {
        const TLogModel& model = ExchangeLog();
        if (!model.options.showTimes)
            return QString();
        const TLogLine line = model.RowLine(row);
        return line.text.isEmpty() ? QString() : LogTimeText(line.timeMs) + QStringLiteral("  ");
    });

    connect(&log, &TLogModel::cleared, this, [this] {
        ClearLogRows(rowsModel_->rows());
        rowsModel_->rowsFilled();
        MonitorsListView->clearSelection();
    });
    connect(TimeLogCheckBox, &QCheckBox::toggled, this, [this] { TimeLogCheckBoxClick(); });
    connect(RecordLogCheckBox, &QCheckBox::toggled, this, [this] { RecordLogCheckBoxClick(); });
    connect(SaveLogButton, &QPushButton::clicked, this, [this] { SaveLogButtonClick(); });
    connect(ClearLogButton, &QPushButton::clicked, this, [this] { ClearLogButtonClick(); });

    LogRecorder = new TLogRecorder(log, this);
    connect(LogRecorder, &TLogRecorder::failed, this,
            [this](const QString& path, const QString& problem) {
                const QSignalBlocker quiet(RecordLogCheckBox);
                RecordLogCheckBox->setChecked(false);
                showRecordPath();
                tellWhenIdle(QStringLiteral("Запись лога в файл %1 остановлена: %2.")
                                 .arg(QDir::toNativeSeparators(path), problem));
            });
    idleMessageTimer_ = new QTimer(this);
    idleMessageTimer_->setInterval(100);
    connect(idleMessageTimer_, &QTimer::timeout, this, [this] {
        if (ExchangeRunning || (Relcon4 && Relcon4->fBlockPressKey))
            return;
        idleMessageTimer_->stop();
        ShowPlainMessage(idleMessage_);
    });

    // Narrowed, the window keeps the option panel whole rather than cut its captions.
    Panel1->layout()->activate();
    setMinimumWidth(Panel1->minimumSizeHint().width() + 8);
}

void TMonitorForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TMonitorForm::FormResize() {
    prFormResize();
}

// The panel leaves a 4-pixel margin of the window's colour on every side.
void TMonitorForm::prFormResize() {
    Panel1->setGeometry(4, 4, width() - 8, height() - 8);
}

void TMonitorForm::prStatusAsStrToLog(TLogColor iColor) {
    ExchangeLog().prStatusAsStrToLog(iColor);
}

void TMonitorForm::prStatusAsCmdToLog(TLogColor iColor, bool fToHex) {
    ExchangeLog().prStatusAsCmdToLog(iColor, fToHex);
}

void TMonitorForm::prShowLog(bool fToHex, bool famCmd, bool fOnlyToFile) {
    ExchangeLog().prShowLog(fToHex, famCmd, fOnlyToFile);
}

void TMonitorForm::prRefreshLog(bool famCmd) {
    refreshRows(famCmd ? (LogWritePos + 1) % kLogLines : LogWritePos);
}

void TMonitorForm::refreshRows(int newest) {
    // The selection follows the lines it was made on, not the rows: new lines
    // move every row, and a copy must take what the technician selected.
    QItemSelectionModel* selection = MonitorsListView->selectionModel();
    QList<std::pair<int, QString>> selected;
    for (const QModelIndex& index : selection->selectedIndexes())
        selected.append({LogViewSlot[index.row()], rowsModel_->rows()[index.row()]});
    FillLogRows(newest, LogOldestFirst, rowsModel_->rows());
    rowsModel_->rowsFilled();
    if (selected.isEmpty())
        return;
    QItemSelection follow;
    for (int row = 0; row < kLogLines; ++row)
        if (selected.contains({LogViewSlot[row], rowsModel_->rows()[row]}))
            follow.select(rowsModel_->index(row), rowsModel_->index(row));
    selection->select(follow, QItemSelectionModel::ClearAndSelect);
}

QColor TMonitorForm::MonitorsListViewCustomDrawItem(int row) const {
    if (row < 0 || row >= kLogLines)
        return WinColorToQColor(clLogBlack);
    return WinColorToQColor(LogViewColor[row]);
}

void TMonitorForm::applyListFont() {
    QFont listFont = MonitorsListView->font();
    listFont.setPointSize(LogFontSize);
    MonitorsListView->setFont(listFont);
}

void TMonitorForm::SetSaveParam() {
    (LogFontSize == 8 ? FontRadioItem8 : FontRadioItem12)->setChecked(true);
    (LogHex ? FormatRadioItemHex : FormatRadioItemDec)->setChecked(true);
    applyListFont();
}

void TMonitorForm::FormatRadioGroupClick() {
    const bool hex = formatGroup_->checkedId() != kFormatItemDec;
    if (hex == LogHex)
        return;
    LogHex = hex;
    notifyOptionsChanged();
}

void TMonitorForm::FontRadioGroupClick() {
    const int size = fontGroup_->checkedId() == kFontItem8 ? 8 : 12;
    if (size == LogFontSize)
        return;
    LogFontSize = size;
    notifyOptionsChanged();
    applyListFont();
}

void TMonitorForm::TelStateEditChange() {
    bTelemByte =
        static_cast<std::uint8_t>(HexToValue(TelStateEdit->text().toLatin1().toStdString()));
    TelStateEdit->setText(QString::fromStdString(ValueToHex(1, true, bTelemByte)));
}

QString TMonitorForm::SelectedLogText() const {
    QList<int> rows;
    for (const QModelIndex& index : MonitorsListView->selectionModel()->selectedIndexes())
        rows << index.row();
    return LogLinesText(ExchangeLog().RowsOldestFirst(rows));
}

void TMonitorForm::CopyLogClick() {
    const QString text = SelectedLogText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void TMonitorForm::SaveLogButtonClick() {
    // A name like the recordings', suggested in the folder used last.
    const QString suggested =
        QFileInfo(TLogRecorder::FilePathFor(QString(), QDateTime::currentDateTime())).fileName();
    const QString path =
        interaction().saveFileName(this, QStringLiteral("Сохранить лог"), suggested,
                                   QStringLiteral("Лог (*.log *.txt);;Все файлы (*)"));
    if (path.isEmpty())
        return;
    QString problem;
    const QByteArray bytes =
        LogLinesText(ExchangeLog().LinesOldestFirst(), QLatin1String(platform::kTextLineEnd))
            .toUtf8();
    if (!platform::WriteWholeFile(path, bytes, &problem))
        ShowPlainMessage(QStringLiteral("Лог не сохранён в файл %1: %2.")
                             .arg(QDir::toNativeSeparators(path), problem));
}

void TMonitorForm::ClearLogButtonClick() {
    ExchangeLog().Clear();
}

void TMonitorForm::TimeLogCheckBoxClick() {
    ExchangeLog().options.showTimes = TimeLogCheckBox->isChecked();
    rowsModel_->rowsFilled();
}

QString TMonitorForm::RecordFolder() {
    return platform::DataFolder() + QStringLiteral("/logs");
}

void TMonitorForm::RecordLogCheckBoxClick() {
    if (!RecordLogCheckBox->isChecked()) {
        LogRecorder->Stop();
        showRecordPath();
        return;
    }
    QString problem;
    if (!LogRecorder->Start(RecordFolder(), &problem)) {
        const QSignalBlocker quiet(RecordLogCheckBox);
        RecordLogCheckBox->setChecked(false);
        tellWhenIdle(QStringLiteral("Запись лога в файл %1 не начата: %2.")
                         .arg(QDir::toNativeSeparators(LogRecorder->FilePath()), problem));
    }
    showRecordPath();
}

void TMonitorForm::showRecordPath() {
    const bool on = LogRecorder->IsRecording();
    const QString path = QDir::toNativeSeparators(LogRecorder->FilePath());
    RecordPathLabel->setText(on ? QStringLiteral("Запись в файл: ") + path : QString());
    RecordPathLabel->setToolTip(on ? path : QString());
    RecordPathLabel->setVisible(on);
}

void TMonitorForm::tellWhenIdle(const QString& text) {
    idleMessage_ = text;
    idleMessageTimer_->start();
}

void TMonitorForm::pDelay(std::uint32_t TimeDelay) {
    ::pDelay(TimeDelay);
}

bool TMonitorForm::funCheckCS(std::uint8_t bNumByte) {
    return ::funCheckCS(ExchangeState.RxBuf, bNumByte);
}
