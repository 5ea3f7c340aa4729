// Program-wide exchange settings, kept in rs_m.ini. The attempt count
// NumOfRepeat lives with the exchange state (ExchangeState.NumOfRepeat).
#pragma once

// Reply time-out in ms, 20..30000.
extern int TimeOut;
// Pause before each request in ms: 5, 15, 60, 100 or a manual value from 101.
extern int PreSendPause;
// DTR and RTS are set by hand from DtrOn and RtsOn.
extern bool FiksDtrRts;
extern bool DtrOn;
extern bool RtsOn;
// Log list font size: 12 or 8.
extern int LogFontSize;
// The log shows bytes in hex, else in decimal.
extern bool LogHex;
// The log shows the oldest line first, else the newest first.
extern bool LogOldestFirst;

// The exchange settings as one value, as rs_m.ini carries them; its
// defaults are those of a run without a settings file.
struct TSettingsValues {
    int TimeOut = 100;
    int PreSendPause = 100;
    int NumOfRepeat = 3;
    bool FiksDtrRts = false;
    bool DtrOn = false;
    bool RtsOn = false;
    int LogFontSize = 8;
    bool LogHex = false;
    bool LogOldestFirst = false;
};

// Makes the values the program's own (NumOfRepeat included).
void ApplySettings(const TSettingsValues& values);
// The values a run has without a settings file (NumOfRepeat included); for start-up and tests.
void ResetExchangeSettings();
