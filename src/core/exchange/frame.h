// Frame helpers shared by every unit family: the RO-4D CRC-16, the 8-bit
// additive sum of the bench frames, and the hex texts of the log and the
// settings file. Pure functions; none of them reports a failure.
#pragma once

#include "base/bytes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Sizes of the program-wide exchange buffers.
inline constexpr std::size_t kTxBufSize = 320;
inline constexpr std::size_t kRxBufSize = 4096;
inline constexpr std::size_t kRxTailBufSize = 320;
// The CRC covers at most this many bytes, so the two CRC bytes always fit in TxBuf.
inline constexpr std::uint16_t kMaxCrcCovered = kTxBufSize - 2;

// CRC-16/CCITT-FALSE table, kept as high and low byte halves.
extern const std::array<std::uint8_t, 256> Crc16HighTable;
extern const std::array<std::uint8_t, 256> Crc16LowTable;

std::uint16_t Crc16Update(std::uint8_t data, std::uint16_t crc);
std::uint16_t Crc16(const std::uint8_t* bytes, std::size_t count);

// Puts the CRC of buf[0 .. len-1] (len cut to 318) big-endian behind it and
// adds 2 to len. Never writes past buf: a buffer too small for the CRC is
// left alone. A len of 0 appends the CRC of the empty frame (FF FF).
void AppendCrc16(TMasBytes& buf, std::uint16_t& len);

std::uint8_t Sum8(const std::uint8_t* bytes, std::size_t count);
// True when the last of the first n bytes is the Sum8 of the ones before it.
// False for n < 2 and for n beyond the buffer.
bool funCheckCS(const TMasBytes& buf, std::size_t n);

std::string ByteToHex(std::uint8_t b);
std::string BytesToHex(const std::uint8_t* bytes, std::size_t count);
// Upper-case hex without leading zeros ("0" for zero); with pad, zero-filled
// to 2*byteCount digits. A value wider than byteCount bytes keeps its low part.
std::string ValueToHex(std::uint8_t byteCount, bool pad, std::uint64_t value);
// Every character takes a digit's place; anything not a hex digit counts as 0.
std::uint64_t HexToValue(std::string_view text);
// Two decimal digits as one BCD byte: 25 gives 0x25. A value of -1 reads text as hex.
std::uint64_t DecimalAsHex(int value, std::string_view text);
