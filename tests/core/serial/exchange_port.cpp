#include "exchange_port.h"

namespace serialtest {

bool OpenForExchange(TComPortD& port, const QString& comName, int readTimeOut) {
    port.SetPort(comName);
    port.SetBaudRate(brCustom);
    port.SetCustomBaudRate(9600);
    port.Timeouts()->SetWrite1Wait2(4);
    port.Timeouts()->SetWrite2WaitN(4);
    port.Timeouts()->SetWaitTimePrevSending(0);
    port.Timeouts()->SetReadTimeOut(readTimeOut);
    port.Open();
    port.SetPhonReceive(false);
    return port.Connected();
}

} // namespace serialtest
