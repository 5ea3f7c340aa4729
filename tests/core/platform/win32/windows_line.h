// What the Windows tests share. scripts/windows --test runs them under Wine,
// with relcon4-sim's pseudo-terminal linked as a COM port, and names the
// ports in the environment:
//   RELCON4_TEST_COM      the port of the simulated RO-4D
//   RELCON4_TEST_MISSING  a COM port nothing stands behind
//   RELCON4_TEST_HELD     a port the system refuses to this process
//   RELCON4_TEST_DROPPING a simulated RO-4D whose line drops instead of replying
#pragma once

#include "devices/qv4m/ro4d_protocol.h"
#include "exchange/frame.h"

#include <QString>

namespace wintest {

// Three times what a page reply needs on the line, as in the Linux end-to-end tests.
inline constexpr int kReadTimeOut = 300;

inline QString Port(const char* variable) {
    return qEnvironmentVariable(variable);
}

// The request's bytes with their CRC, as the pages put them into TxBuf.
inline TMasBytes Framed(const TRo4dRequest& request, std::uint16_t& length) {
    TMasBytes buf(request.bytes);
    buf.resize(kTxBufSize, 0);
    length = static_cast<std::uint16_t>(request.bytes.size());
    AppendCrc16(buf, length);
    return buf;
}

// A frame that ends in its own CRC leaves no remainder.
inline bool CrcHolds(const TMasBytes& buf, std::size_t length) {
    return length >= 2 && length <= buf.size() && Crc16(buf.data(), length) == 0;
}

} // namespace wintest
