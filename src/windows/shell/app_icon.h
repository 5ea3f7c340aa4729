// The program's emblem (a relay contact), built into the executable so every
// window shows it whether or not the icon theme has it.
#pragma once

#include <QIcon>

QIcon AppIcon();
