// The usual cause of a port's open error on this system, for the log trace.
#pragma once

#include <QString>
#include <cstdint>

namespace platform {

// Empty when the code has no usual cause worth naming here.
QString OpenErrorHint(std::uint32_t code);

} // namespace platform
