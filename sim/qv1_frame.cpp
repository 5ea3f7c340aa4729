#include "qv1_frame.h"

#include "devices/qv1/qv1_framing.h"
#include "devices/qv1/session_code.h"

#include <algorithm>

namespace sim {

std::size_t Qv1FrameLength(const Bytes& buf) {
    const std::size_t len = buf[0];
    return len >= kQv1MinFrame && len <= kQv1MaxFrame ? len : 0;
}

bool Qv1FrameValid(const Bytes& frame) {
    return frame.back() == qv1::kTerminator;
}

bool Qv1HasSessionCode(const Bytes& frame) {
    return frame.size() == kQv1SessionCode.size() + 3 &&
           std::equal(kQv1SessionCode.begin(), kQv1SessionCode.end(), frame.begin() + 2);
}

Bytes Qv1Request(std::uint8_t command, const Bytes& payload) {
    return qv1::Frame(command, payload.data(), payload.size());
}

Bytes Qv1Reply(std::size_t length, const Bytes& body) {
    Bytes out(length, 0);
    out[0] = static_cast<std::uint8_t>(length);
    std::copy_n(body.begin(), std::min(body.size(), length - 2), out.begin() + 1);
    out[length - 1] = qv1::kReplyEnd;
    return out;
}

Bytes ToCp866(QStringView text) {
    Bytes out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            out.push_back(static_cast<std::uint8_t>(u));
        else if (u >= u'А' && u <= u'п')
            out.push_back(static_cast<std::uint8_t>(0x80 + (u - u'А')));
        else if (u >= u'р' && u <= u'я')
            out.push_back(static_cast<std::uint8_t>(0xE0 + (u - u'р')));
        else if (u == u'Ё')
            out.push_back(0xF0);
        else if (u == u'ё')
            out.push_back(0xF1);
        else
            out.push_back('?');
    }
    return out;
}

} // namespace sim
