#include "exchange/exchange_settings.h"

#include "exchange/exchange_state.h"

// The defaults are those of a run without a settings file, kept in one place.
namespace {
const TSettingsValues kDefaults;
}

int TimeOut = kDefaults.TimeOut;
int PreSendPause = kDefaults.PreSendPause;
bool FiksDtrRts = kDefaults.FiksDtrRts;
bool DtrOn = kDefaults.DtrOn;
bool RtsOn = kDefaults.RtsOn;
int LogFontSize = kDefaults.LogFontSize;
bool LogHex = kDefaults.LogHex;
bool LogOldestFirst = kDefaults.LogOldestFirst;

void ApplySettings(const TSettingsValues& values) {
    TimeOut = values.TimeOut;
    PreSendPause = values.PreSendPause;
    ExchangeState.NumOfRepeat = values.NumOfRepeat;
    FiksDtrRts = values.FiksDtrRts;
    DtrOn = values.DtrOn;
    RtsOn = values.RtsOn;
    LogFontSize = values.LogFontSize;
    LogHex = values.LogHex;
    LogOldestFirst = values.LogOldestFirst;
}

void ResetExchangeSettings() {
    ApplySettings(kDefaults);
}
