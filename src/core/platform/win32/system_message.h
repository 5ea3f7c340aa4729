// Windows' own words for an error code, for the log traces.
#pragma once

#include <QString>

namespace platform {

QString SystemMessage(unsigned long code);

} // namespace platform
