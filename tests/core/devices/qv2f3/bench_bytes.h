// Building bench packets in tests.
#pragma once

#include "exchange/frame.h"

// The packet with its 8-bit sum appended.
inline TMasBytes withSum(TMasBytes p) {
    p.push_back(Sum8(p.data(), p.size()));
    return p;
}
