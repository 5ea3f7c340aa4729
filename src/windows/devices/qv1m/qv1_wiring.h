// Puts the QV1 pages on the program's real line: channel 0 of the main window,
// with the log window's port component for the background reception.
#pragma once

// Safe to call again; the line looks the windows up each time, so it does
// nothing (every exchange fails) once the windows are gone.
void ConnectQv1Line();
