#include "shell/app_windows.h"

#include "archive/archive_form.h"
#include "archive/archive_recording.h"
#include "devices/qv1m/qv1_wiring.h"
#include "devices/qv2f3/qv2f3_page.h"
#include "devices/qv2f3/qv2f3_wire.h"
#include "devices/qv4m/stat_err_form.h"
#include "exchange/monitor_form.h"
#include "port/case_com_form.h"
#include "port/param_port_form.h"
#include "port/port_hooks.h"
#include "port/status_com_form.h"
#include "report/report_pages.h"
#include "shell/box_message.h"
#include "shell/keyboard.h"
#include "shell/relcon4_window.h"
#include "shell/start_form.h"
#include "shell/tool_tips.h"
#include "shell/windows_host.h"

#include <QScreen>
#include <QTimer>

TRelcon4* Relcon4 = nullptr;
TStartForm* StartForm = nullptr;
TMonitorForm* MonitorForm = nullptr;
TParamPortForm* ParamPortForm = nullptr;
TStatusCOMForm* StatusCOMForm = nullptr;
TBoxMessage* BoxMessage = nullptr;
TCaseComForm* CaseComForm = nullptr;
TStatErrForm* StatErrForm = nullptr;

void CreateAppWindows(bool showSplash) {
    InstallWindowsHost();
    Relcon4 = new TRelcon4;
    if (const QScreen* screen = Relcon4->screen())
        Relcon4->move(screen->availableGeometry().center() - Relcon4->rect().center());
    Relcon4->show();
    StartForm = new TStartForm(Relcon4);
    if (!showSplash) {
        StartForm->Timer1->stop();
        StartForm->hide();
    }
    MonitorForm = new TMonitorForm(Relcon4);
    ParamPortForm = new TParamPortForm(Relcon4);
    StatusCOMForm = new TStatusCOMForm(Relcon4);
    BoxMessage = new TBoxMessage(Relcon4);
    CaseComForm = new TCaseComForm(Relcon4);
    StatErrForm = new TStatErrForm(Relcon4);
    ConnectPortHooks();
    ConnectQv1Line();
    WireQv2f3Page(Qv2f3Page, MonitorForm);
    InstallArchiveRecording(Relcon4);
    InstallArchiveButton(Relcon4);
    InstallReportButton(Relcon4);
    InstallKeyboard(Relcon4);
    InstallToolTips(Relcon4);
}

void DestroyAppWindows() {
    // Children go with the main window.
    delete Relcon4;
    Relcon4 = nullptr;
    StartForm = nullptr;
    MonitorForm = nullptr;
    ParamPortForm = nullptr;
    StatusCOMForm = nullptr;
    BoxMessage = nullptr;
    CaseComForm = nullptr;
    StatErrForm = nullptr;
}
