// The byte buffer every layer passes frames in, from the serial component up
// to the device codecs. It sits below them all so that none has to reach up
// to the frames for it.
#pragma once

#include <cstdint>
#include <vector>

using TMasBytes = std::vector<std::uint8_t>;
using PMasBytes = TMasBytes*;
