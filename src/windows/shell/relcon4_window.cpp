#include "shell/relcon4_window.h"

#include "devices/qv1m/qv1m_page.h"
#include "devices/qv2f3/qv2f3_page.h"
#include "devices/qv4m/qv4m_commands_page.h"
#include "devices/qv4m/qv4m_pages.h"
#include "devices/qv4m/stat_err_form.h"
#include "engine/transaction.h"
#include "exchange/exchange_state.h"
#include "exchange/monitor_form.h"
#include "port/case_com_form.h"
#include "port/param_port_form.h"
#include "port/port_open.h"
#include "port/port_rules.h"
#include "port/settings_file.h"
#include "shell/app_globals.h"
#include "shell/app_windows.h"
#include "shell/edit_marks.h"
#include "shell/help_window.h"
#include "shell/interaction.h"
#include "shell/where_bar.h"

#include <QCloseEvent>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace {

// The client area the pages are laid out for, and the smallest the window
// may shrink to on a small screen (the pages then scroll).
constexpr QSize kPagesSize(672, 729);
constexpr QSize kSmallestSize(640, 480);

// Tabs with half the style's side padding: the five captions then fit the
// pages' width at the usual desktop fonts (DejaVu Sans 9 pt needs 662 px).
class CompactTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 2 : value;
    }
};

QWidget* addPage(QTabWidget* tabs, const char* name, const QString& caption) {
    auto* page = new QWidget(tabs);
    page->setObjectName(QLatin1String(name));
    tabs->addTab(page, caption);
    return page;
}

} // namespace

QString PortButtonCaption(const QString& portName) {
    // A blank caption would leave the button unreadable, and nothing to find it by.
    return portName.isEmpty() ? kNoPortCaption : PortDisplayName(portName);
}

TRelcon4::TRelcon4(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Relcon4"));
    FormCreate();
}

TRelcon4::~TRelcon4() = default;

void TRelcon4::FormCreate() {
    setWindowTitle(QStringLiteral("Relcon4 1.18"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    CustomBaud = 9600;

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    PagesArea = new QScrollArea(this);
    PagesArea->setObjectName(QStringLiteral("PagesArea"));
    PagesArea->setFrameShape(QFrame::NoFrame);
    PagesArea->setWidgetResizable(true);
    layout->addWidget(PagesArea);
    WhereBar = new TWhereBar(this);
    WhereBar->showPort(kNoPortCaption);
    layout->addWidget(WhereBar);
    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* tabStyle = new CompactTabStyle;
    tabStyle->setParent(PageControl1->tabBar());
    PageControl1->tabBar()->setStyle(tabStyle);
    TabSheet1 = addPage(PageControl1, "TabSheet1", QStringLiteral("COM и команды VI-4D"));
    TabSheet3 = addPage(PageControl1, "TabSheet3", QStringLiteral("Параметры режима VI-4D"));
    TabSheet6 =
        addPage(PageControl1, "TabSheet6", QStringLiteral("Времена, опции, напряжения VI-4D"));
    TabSheet2 = addPage(PageControl1, "TabSheet2", QStringLiteral("RI1-R"));
    TabSheet4 = addPage(PageControl1, "TabSheet4", QStringLiteral("ZE2-R3"));
    PageControl1->setCurrentIndex(0);
    // Wider than the pages only when a larger font needs it for the captions.
    ownSize_ = QSize(std::max(kPagesSize.width(), PageControl1->tabBar()->sizeHint().width()),
                     kPagesSize.height() + WhereBar->sizeHint().height());
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this] { WhereBar->showTab(PageControl1->currentWidget()); });
    setMinimumSize(kSmallestSize);
    resize(ownSize_);
    PagesArea->setWidget(PageControl1);
    InstallQv4mPages(this);
    InstallQv1mPage(this);
    InstallQv2f3Page(this);

    // The shell's own controls on the first page; the command page fills the rest.
    auto* page1 = new QVBoxLayout(TabSheet1);
    auto* portRow = new QHBoxLayout;
    Button1 = new QPushButton(kNoPortCaption, TabSheet1);
    Button1->setObjectName(QStringLiteral("Button1"));
    LogButton = new QPushButton(QStringLiteral("Лог"), TabSheet1);
    LogButton->setObjectName(QStringLiteral("LogButton"));
    ParamComButton = new QPushButton(QStringLiteral("Параметры обмена"), TabSheet1);
    ParamComButton->setObjectName(QStringLiteral("ParamComButton"));
    portRow->addWidget(Button1);
    portRow->addWidget(LogButton);
    portRow->addWidget(ParamComButton);
    portRow->addStretch(1);
    page1->addLayout(portRow);
    page1->addStretch(1);

    sLabel4 = new QLabel(QStringLiteral("Relcon4 — открытый проект"), TabSheet1);
    sLabel4->setObjectName(QStringLiteral("sLabel4"));
    QFont brand = sLabel4->font();
    brand.setBold(true);
    brand.setUnderline(true);
    sLabel4->setFont(brand);
    sLabel4->setStyleSheet(QStringLiteral("color: #0000FF;"));
    sLabel4->setCursor(Qt::PointingHandCursor);
    sLabel4->setToolTip(QStringLiteral("Руководство пользователя (F1)"));
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, &TRelcon4::sLabel4Click);
    sLabel4->installEventFilter(this);
    page1->addWidget(sLabel4, 0, Qt::AlignRight);
    InstallQv4mCommands(this);

    connect(Button1, &QPushButton::clicked, this, &TRelcon4::Button1Click);
    connect(LogButton, &QPushButton::clicked, this, &TRelcon4::LogButtonClick);
    LogButtonRi1r = addPageLogButton("qv1mSessionRow", QStringLiteral("LogButtonRi1r"));
    LogButtonBench = addPageLogButton("SessionLayout", QStringLiteral("LogButtonBench"));
    connect(ParamComButton, &QPushButton::clicked, this, &TRelcon4::ParamComButtonClick);

    CrashComTimer = new QTimer(this);
    CrashComTimer->setObjectName(QStringLiteral("CrashComTimer"));
    CrashComTimer->setInterval(1000);
    connect(CrashComTimer, &QTimer::timeout, this, [this] { CrashComTimerTimer(CrashComTimer); });

    setEnabled(false);
}

bool TRelcon4::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sLabel4 && event->type() == QEvent::MouseButtonRelease) {
        sLabel4Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TRelcon4::prActivateMasterForm(QObject* /*sender*/) {
    if (activated_)
        return;
    activated_ = true;
    ExeDir = ExecutableDir();
    const QDate today = QDate::currentDate();
    PcDate = {static_cast<std::uint16_t>(today.day()), static_cast<std::uint16_t>(today.month()),
              static_cast<std::uint16_t>(today.year())};
    ExchangeState.Allocate();
    ExchangeState.ResetChannels();
    LoadSettings();
    Button1->setText(PortButtonCaption(ExchangeState.PortName[0]));
    if (MonitorForm) {
        MonitorForm->SetSaveParam();
        MonitorForm->FormatRadioGroupClick();
        MonitorForm->FontRadioGroupClick();
    }
    // Only the list is filled; each command opens its port itself.
    if (CaseComForm)
        CaseComForm->prScanComPort();
    prShowPortOnButton(Button1->text());
    setEnabled(true);
    fNotSetCheckBoxs = true;
    ApplyQv4mMainMode(this);
    fNotSetCheckBoxs = false;
    fBlockPressKey = false;
    emit activated();
}

void TRelcon4::FitToScreen(const QRect& available, const QMargins& frame) {
    const QSize room(available.width() - frame.left() - frame.right(),
                     available.height() - frame.top() - frame.bottom());
    // A page taller than the window scrolls with its own bar: room for it.
    QSize size = ownSize_.boundedTo(room);
    if (size.height() < ownSize_.height())
        size.setWidth(std::min(
            ownSize_.width() + PagesArea->verticalScrollBar()->sizeHint().width(), room.width()));
    setMinimumSize(kSmallestSize.boundedTo(room));
    resize(size);
    // From the window's own rectangle, which means the same before the window
    // manager has framed it and after (a window's position does not).
    const QRect outer = QRect(geometry().topLeft(), size).marginsAdded(frame);
    if (!available.contains(outer)) {
        const QPoint corner(
            std::clamp(outer.x(), available.left(), available.right() + 1 - outer.width()),
            std::clamp(outer.y(), available.top(), available.bottom() + 1 - outer.height()));
        setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), size));
    }
}

void TRelcon4::fitToOwnScreen() {
    const QScreen* own = screen();
    if (!own)
        return;
    fittedFrame_ = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    // Until the window manager has framed the window, allow for a title bar.
    QMargins frame = fittedFrame_;
    if (frame.top() == 0) {
        frame.setTop(std::max(style()->pixelMetric(QStyle::PM_TitleBarHeight), 30));
        frame.setBottom(std::max(frame.bottom(), 8));
    }
    FitToScreen(own->availableGeometry(), frame);
}

bool TRelcon4::event(QEvent* event) {
    // The frame is known only once the window manager has framed the window,
    // which moves it; other moves leave the size alone.
    const bool framed = event->type() == QEvent::Move && windowHandle() &&
                        windowHandle()->frameMargins() != fittedFrame_;
    if (event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal || framed)
        fitToOwnScreen();
    return QWidget::event(event);
}

void TRelcon4::RestoreMainWindow() {
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

// A "Лог" button at the right end of a page's session row.
QPushButton* TRelcon4::addPageLogButton(const char* row, const QString& name) {
    auto* layout = PageControl1->findChild<QHBoxLayout*>(QLatin1String(row));
    if (!layout || !layout->parentWidget())
        return nullptr;
    auto* button = new QPushButton(QStringLiteral("Лог"), layout->parentWidget());
    button->setObjectName(name);
    layout->addWidget(button);
    connect(button, &QPushButton::clicked, this, &TRelcon4::LogButtonClick);
    return button;
}

void TRelcon4::LogButtonClick() {
    if (!MonitorForm)
        return;
    MonitorForm->show();
    MonitorForm->raise();
    // F3 and the button hand the log the keyboard, so Escape or Ctrl+C act there.
    MonitorForm->activateWindow();
}

bool TRelcon4::funSendReceive1(std::uint8_t bNumChannel, const TReplyCheck& check) {
    return SendReceive(bNumChannel, check);
}

void TRelcon4::ParamComButtonClick() {
    if (ParamPortForm)
        interaction().execDialog(ParamPortForm);
}

void TRelcon4::sLabel4Click() {
    ShowHelpFor(this, PageControl1->currentIndex());
}

bool TRelcon4::mayCloseWithEdits() {
    QStringList pages;
    QList<TEditMarks*> edited;
    for (TEditMarks* marks : AllEditMarks(this))
        if (marks->edited()) {
            pages << marks->page();
            edited << marks;
        }
    if (edited.isEmpty())
        return true;
    const int answer = interaction().messageBox(
        QStringLiteral("Изменения на страницах %1 не записаны в устройство и не сохранены в "
                       "файл.\nСохранить их в файл перед выходом?")
            .arg(pages.join(QStringLiteral(", "))),
        QStringLiteral("Relcon4"), MB_YESNOCANCEL_ICONQUESTION);
    if (answer == IDNO)
        return true;
    if (answer != IDYES)
        return false;
    // A page without a file (the bench's delays) has nothing to save them to.
    for (TEditMarks* marks : edited)
        if (marks->Save && !marks->Save())
            return false;
    return true;
}

void TRelcon4::closeEvent(QCloseEvent* event) {
    if (!mayCloseWithEdits()) {
        event->ignore();
        return;
    }
    if (StatErrForm && StatErrForm->isVisible())
        StatErrForm->close();
    ExchangeState.Release();
    DisconnectOpenPorts();
    event->accept();
    emit closed();
}
