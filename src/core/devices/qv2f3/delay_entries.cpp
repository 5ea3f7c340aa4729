#include "devices/qv2f3/delay_entries.h"

namespace {

const char* const kRows[] = {"задержка включения реле", "задержка выключения реле",
                             "автовыключение реле"};

} // namespace

TCheckedEntry Zi2z3DelayEntry(std::size_t k) {
    // T1x stand under "Канал 2", T2x under "Канал 1".
    const int place = k < 3 ? 1 : 2;
    const int channel = k < 3 ? 2 : 1;
    return {QStringLiteral("T%1%2 (канал %3, %4)")
                .arg(place)
                .arg(k % 3 + 1)
                .arg(channel)
                .arg(QString::fromUtf8(kRows[k % 3])),
            TEntryRule::Whole(0, 255)};
}
