// The title of a message box kept whole in the window manager's frame.
#pragma once

class QMessageBox;

// Widens a box to hold its title beside the frame's icon and buttons: a box as
// narrow as a short text ("Успешно") leaves the window manager room for an
// ellipsis only.
void KeepTitleWhole(QMessageBox& box);

// The width KeepTitleWhole gives a box at least.
int TitleWidth(const QMessageBox& box);
