// Hints only where a technician needs one: controls without a caption of
// their own, and captions that do not say what they do.
#pragma once

class QWidget;

// Puts the hints on the windows under root (the main window and the windows it owns).
void InstallToolTips(QWidget* root);
