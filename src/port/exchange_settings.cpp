#include "port/exchange_settings.h"

#include "exchange/exchange_state.h"

int TimeOut = 100;
int PreSendPause = 100;
bool FiksDtrRts = false;
bool DtrOn = false;
bool RtsOn = false;
int LogFontSize = 8;
bool LogHex = false;
bool LogOldestFirst = false;

void ResetExchangeSettings() {
    TimeOut = 100;
    PreSendPause = 100;
    FiksDtrRts = false;
    DtrOn = false;
    RtsOn = false;
    LogFontSize = 8;
    LogHex = false;
    LogOldestFirst = false;
    ExchangeState.NumOfRepeat = 3;
}
