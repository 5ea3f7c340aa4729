#include "devices/qv1/qv1_framing.h"

#include "exchange/frame.h"

namespace qv1 {

TMasBytes Frame(std::uint8_t command, const std::uint8_t* payload, std::size_t count) {
    TMasBytes frame;
    frame.reserve(count + 3);
    frame.push_back(static_cast<std::uint8_t>(count + 3));
    frame.push_back(command);
    if (payload != nullptr)
        frame.insert(frame.end(), payload, payload + count);
    frame.push_back(kTerminator);
    return frame;
}

QString ReplyEndMismatch(const TMasBytes& reply, std::size_t length) {
    if (length == 0 || length > reply.size() || reply[length - 1] == kReplyEnd)
        return {};
    auto hex = [](std::uint8_t b) { return QString::fromStdString(ByteToHex(b)); };
    return QStringLiteral("Ответ с неверным концом кадра: ожидался %1, получен %2")
        .arg(hex(kReplyEnd), hex(reply[length - 1]));
}

} // namespace qv1
