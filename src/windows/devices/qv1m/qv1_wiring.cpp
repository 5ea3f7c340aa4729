#include "devices/qv1m/qv1_wiring.h"

#include "devices/qv1/qv1_link.h"
#include "exchange/monitor_form.h"
#include "serial/com_port.h"
#include "shell/app_windows.h"
#include "shell/relcon4_window.h"

void ConnectQv1Line() {
    Qv1Line().openClose = [](bool open) {
        if (Relcon4)
            Relcon4->prOpenCloseCommandPort(open);
    };
    Qv1Line().sendReceive = [](const TReplyCheck& check) {
        return Relcon4 && Relcon4->funSendReceive1(0, check);
    };
    Qv1Line().setPhonReceive = [](bool on) {
        if (MonitorForm && MonitorForm->ComPortD1)
            MonitorForm->ComPortD1->SetPhonReceive(on);
    };
}
