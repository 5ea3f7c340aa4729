#include "exchange/exchange_state.h"

TExchangeState ExchangeState;

void AppendCrc16() {
    AppendCrc16(ExchangeState.TxBuf, ExchangeState.TxLength);
}
