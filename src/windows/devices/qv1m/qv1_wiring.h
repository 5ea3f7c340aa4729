// Puts the QV1 pages on the program's real line: channel 0 of the main window.
#pragma once

// Safe to call again; the line looks the main window up each time, so it does
// nothing (every exchange fails) once the windows are gone.
void ConnectQv1Line();
