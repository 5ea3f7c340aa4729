#include "exchange/frame.h"

#include <algorithm>

namespace {

constexpr std::array<std::uint16_t, 256> makeCrcTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        auto crc = static_cast<std::uint16_t>(i << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
        table[i] = crc;
    }
    return table;
}

constexpr auto kCrcTable = makeCrcTable();
static_assert(kCrcTable[1] == 0x1021 && kCrcTable[2] == 0x2042 && kCrcTable[255] == 0x1EF0);

constexpr std::array<std::uint8_t, 256> tableHalf(bool high) {
    std::array<std::uint8_t, 256> half{};
    for (unsigned i = 0; i < 256; ++i)
        half[i] = static_cast<std::uint8_t>(high ? kCrcTable[i] >> 8 : kCrcTable[i] & 0xFF);
    return half;
}

constexpr char kHexDigits[] = "0123456789ABCDEF";

} // namespace

const std::array<std::uint8_t, 256> Crc16HighTable = tableHalf(true);
const std::array<std::uint8_t, 256> Crc16LowTable = tableHalf(false);

std::uint16_t Crc16Update(std::uint8_t data, std::uint16_t crc) {
    const std::uint8_t i = static_cast<std::uint8_t>(crc >> 8) ^ data;
    const auto high = static_cast<std::uint8_t>((crc & 0xFF) ^ Crc16HighTable[i]);
    return static_cast<std::uint16_t>(high << 8 | Crc16LowTable[i]);
}

std::uint16_t Crc16(const std::uint8_t* bytes, std::size_t count) {
    std::uint16_t crc = 0xFFFF;
    for (std::size_t k = 0; k < count; ++k)
        crc = Crc16Update(bytes[k], crc);
    return crc;
}

void AppendCrc16(TMasBytes& buf, std::uint16_t& len) {
    const std::uint16_t covered = std::min(len, kMaxCrcCovered);
    if (buf.size() < static_cast<std::size_t>(covered) + 2)
        return;
    const std::uint16_t crc = Crc16(buf.data(), covered);
    buf[covered] = static_cast<std::uint8_t>(crc >> 8);
    buf[covered + 1] = static_cast<std::uint8_t>(crc & 0xFF);
    len = static_cast<std::uint16_t>(covered + 2);
}

std::uint8_t Sum8(const std::uint8_t* bytes, std::size_t count) {
    std::uint8_t sum = 0;
    for (std::size_t k = 0; k < count; ++k)
        sum = static_cast<std::uint8_t>(sum + bytes[k]);
    return sum;
}

bool funCheckCS(const TMasBytes& buf, std::size_t n) {
    if (n < 2 || n > buf.size())
        return false;
    return Sum8(buf.data(), n - 1) == buf[n - 1];
}

std::string ByteToHex(std::uint8_t b) {
    return {kHexDigits[b >> 4], kHexDigits[b & 0x0F]};
}

std::string BytesToHex(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    text.reserve(count * 2);
    for (std::size_t k = 0; k < count; ++k)
        text += ByteToHex(bytes[k]);
    return text;
}

std::string ValueToHex(std::uint8_t byteCount, bool pad, std::uint64_t value) {
    const unsigned digits = std::min<unsigned>(byteCount, 8) * 2;
    std::string text;
    for (unsigned d = digits; d-- > 0;) {
        const unsigned q = (value >> (4 * d)) & 0x0F;
        if (q != 0 || !text.empty())
            text += kHexDigits[q];
    }
    if (text.empty())
        text.push_back('0');
    if (pad && text.size() < digits)
        text.insert(0, digits - text.size(), '0');
    return text;
}

std::uint64_t HexToValue(std::string_view text) {
    std::uint64_t result = 0;
    std::uint64_t weight = 1;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        const char c = *it;
        unsigned digit = 0;
        if (c >= '1' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        // Unsigned arithmetic: texts longer than 16 digits wrap instead of overflowing.
        result += digit * weight;
        weight *= 16;
    }
    return result;
}

std::uint64_t DecimalAsHex(int value, std::string_view text) {
    if (value == -1)
        return HexToValue(text);
    return HexToValue(std::to_string(value));
}
