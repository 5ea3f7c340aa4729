#include "port/exchange_settings.h"

#include "port/settings_file.h"
#include "port/settings_text.h"

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

void ResetExchangeSettings() {
    ApplySettings(kDefaults);
}
