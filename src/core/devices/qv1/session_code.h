// The five bytes that open a session with an RI1-R unit or a ZI2-Z3 bench.
// The units and the program must agree on them, so both take them from here.
#pragma once

#include <array>
#include <cstdint>

inline constexpr std::array<std::uint8_t, 5> kQv1SessionCode{0x52, 0x34, 0x43, 0x46, 0x47};
