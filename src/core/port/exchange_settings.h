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

// The values a run has without a settings file (NumOfRepeat included); for start-up and tests.
void ResetExchangeSettings();
