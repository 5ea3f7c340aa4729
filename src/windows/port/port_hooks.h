// Connects the settings' consumers to the program's windows: the exchange
// parameters dialog drives ComPortD1's lines and time-outs, and a changed log
// option is written to rs_m.ini.
#pragma once

// Safe to call again; the hooks look the windows up each time they run, so
// they do nothing once the windows are gone.
void ConnectPortHooks();
