// The keyboard: keys for the main commands (the captions stay as they are),
// a Tab order that follows the numbered steps, Enter and Escape in dialogs.
#pragma once

class TRelcon4;

// Binds the keys of the main window and of the dialogs created with it.
void InstallKeyboard(TRelcon4* window);
