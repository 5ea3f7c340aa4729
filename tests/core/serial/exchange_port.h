// Opening a port for an exchange test, on any system.
#pragma once

#include "serial/com_port.h"

#include <QString>

namespace serialtest {

// Opens the port with the settings a device command uses (9600 8N1, 4 ms
// between bytes), no pause before a request and background reception off.
bool OpenForExchange(TComPortD& port, const QString& comName, int readTimeOut);

} // namespace serialtest
