#include "port/port_hooks.h"

#include "exchange/log_state.h"
#include "exchange/monitor_form.h"
#include "port/param_port_form.h"
#include "port/settings_file.h"
#include "serial/com_port.h"
#include "shell/app_windows.h"

namespace {

TComPortD* Port() {
    return MonitorForm ? MonitorForm->ComPortD1 : nullptr;
}

} // namespace

void ConnectPortHooks() {
    ParamPortTarget.DisableRtsControl = [] {
        if (TComPortD* port = Port())
            port->FlowControl()->SetControlRTS(rtsDisable);
    };
    ParamPortTarget.SetDTR = [](bool on) {
        if (TComPortD* port = Port())
            port->SetDTR(on);
    };
    ParamPortTarget.SetRTS = [](bool on) {
        if (TComPortD* port = Port())
            port->SetRTS(on);
    };
    ParamPortTarget.SetTimeouts = [](int readTimeOut, int waitTimePrevSending) {
        if (TComPortD* port = Port()) {
            port->Timeouts()->SetReadTimeOut(readTimeOut);
            port->Timeouts()->SetWaitTimePrevSending(waitTimePrevSending);
        }
    };
    OnLogOptionsChanged = [] { SaveSettings(); };
}
