#include "exchange/exchange_host.h"

#include "exchange/exchange_settings.h"
#include "serial/com_port.h"

namespace {

TExchangeHost silentHost;
TExchangeHost* current = nullptr;

} // namespace

TExchangeHost& exchangeHost() {
    return current ? *current : silentHost;
}

TExchangeHost* setExchangeHost(TExchangeHost* host) {
    TExchangeHost* previous = current;
    current = host;
    return previous;
}

void TExchangeHost::applyFixedLines(TCustomComPortD& port) {
    port.FlowControl()->SetControlRTS(rtsDisable);
    port.SetDTR(DtrOn);
    port.SetRTS(RtsOn);
}
