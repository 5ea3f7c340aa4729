// Puts the RI1-R and ZI2-Z3 services on the program's real line: channel 0
// of the main window, with the core's port component (port/channel_port.h)
// for the background reception.
#pragma once

// Safe to call again; the line looks the windows up each time, so it does
// nothing (every exchange fails) once the windows are gone.
void ConnectQv1Line();
