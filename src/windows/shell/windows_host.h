// The windows' answer to what the core asks while it works a port: the main
// window's watchdog timer, the port status window and the program's message
// boxes.
#pragma once

// Installs it as the core's host; safe to call again. Every window it reaches
// is looked up when needed, so it does nothing once the windows are gone.
void InstallWindowsHost();
