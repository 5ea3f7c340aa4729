#include "platform/win32/system_message.h"

#include <windows.h>

namespace platform {

QString SystemMessage(unsigned long code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = length ? QString::fromWCharArray(text, static_cast<int>(length)).trimmed()
                             : QStringLiteral("error %1").arg(code);
    ::LocalFree(text);
    return message;
}

} // namespace platform
