// Texts typed into the pages and hex texts of the log and the settings: the
// lenient conversions take any text, never fail, and agree with each other
// where their ranges meet.
#include "devices/qv1/unit_text.h"
#include "devices/qv1m/qv1m_convert.h"
#include "devices/qv4m/number_text.h"
#include "devices/qv4m/param_codec.h"
#include "exchange/frame.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

namespace {

void CheckText(const QString& text) {
    const std::int32_t clamped = LenientToInt(text);
    const std::int64_t wrapped = qv1::ParseLenientInt(text);
    // Both read the same digits; they differ only in what they do past 32 bits.
    if (wrapped >= std::numeric_limits<std::int32_t>::min() &&
        wrapped <= std::numeric_limits<std::int32_t>::max() && text.size() <= 9)
        FUZZ_REQUIRE(clamped == wrapped);
    FUZZ_REQUIRE(LenientInt(text) == wrapped);
    (void)Qv1TimeFromText(text);
    (void)Qv1DelayFromText(text);
    (void)WholeWord(text, 10);

    const double real = LenientToDouble(text);
    FUZZ_REQUIRE(std::isfinite(real));
    (void)RoundToLow16(real);
    (void)FormatVolts(real);
    if (const std::optional<double> volts = Qv1ParseReal(text)) {
        FUZZ_REQUIRE(std::isfinite(*volts));
        (void)Qv1CodeFromVolts(*volts, 5.0);
        (void)Qv1CodeFromVolts(5.0, *volts);
        (void)Qv1RealText(*volts, 3);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::uint64_t value = HexToValue(bytes);
    if (size <= 16 && std::all_of(bytes.begin(), bytes.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) != 0;
        }))
        FUZZ_REQUIRE(HexToValue(ValueToHex(8, false, value)) == value);
    if (size >= 4) {
        int number = 0;
        std::memcpy(&number, data, sizeof number);
        (void)DecimalAsHex(number, bytes.substr(4));
    }
    const QByteArray raw = InputBytes(data, size);
    CheckText(QString::fromLatin1(raw));
    CheckText(QString::fromUtf8(raw));
    return 0;
}
