#include "devices/qv2f3/bench_frames.h"

#include "devices/qv1/qv1_framing.h"
#include "devices/qv1/session_code.h"
#include "devices/qv1/unit_text.h"

namespace qv2f3 {

namespace {

constexpr TBenchCommand kBenchCommands[] = {
    {0x00, "Статус: чтение статусов", "Статус: команда чтения статусов отправлена",
     TBenchClear::Nothing},
    {0x01, "Статус: чтение напряжений USB (холостой ход)",
     "Статус: команда чтения напряжений USB (холостой ход) отправлена", TBenchClear::IdleVolt},
    {0x02, "Статус: чтение напряжений USB (установлены QV2)",
     "Статус: команда чтения напряжений USB (установлены QV2) отправлена", TBenchClear::WorkVolt},
    {0x03, "Статус: чтение напряжений Блока Питания QV2",
     "Статус: команда чтения Блока Питания QV2 отправлена", TBenchClear::WorkVolt},
    {0x04, "Статус: чтение токов потребления в мА",
     "Статус: команда чтения токов потребления отправлена", TBenchClear::WorkCurrent},
    {0x05, "Статус: чтение тек. программы работы",
     "Статус: команда чтения тек. программы работы отправлена", TBenchClear::Presets},
    {0x06, "Статус: чтение измеренных задержек",
     "Статус: команда чтения измеренных задержек отправлена", TBenchClear::Measured},
    {0x80, "Статус: старт тестирования", "Статус: команда старта тестирования отправлена",
     TBenchClear::Nothing},
};

} // namespace

TMasBytes SessionFrame() {
    return qv1::Frame('s', kQv1SessionCode.data(), kQv1SessionCode.size());
}

TMasBytes ReadTimesFrame() {
    return qv1::Frame('R', nullptr, 0);
}

TMasBytes WriteTimesFrame(const TDelaySettings& settings) {
    return qv1::Frame('W', settings.data(), settings.size());
}

TMasBytes BenchCommandFrame(std::uint8_t code) {
    return {kBenchCommandLetter, code, static_cast<std::uint8_t>(kBenchCommandLetter + code)};
}

QString SessionIdent(const TMasBytes& reply) {
    if (reply.size() < kSessionReplyLength)
        return {};
    return qv1::UnitText(reply.data() + 2, 5);
}

QString UnitCaption(const QString& ident) {
    return QStringLiteral("Устройство: ") + ident;
}

TDelaySettings ReadTimesValues(const TMasBytes& reply) {
    TDelaySettings values{};
    if (reply.size() >= kReadTimesReplyLength)
        std::copy(reply.begin() + 2, reply.begin() + 8, values.begin());
    return values;
}

bool WriteTimesAccepted(const TMasBytes& reply) {
    return reply.size() >= kWriteTimesReplyLength && reply[1] == 0;
}

const TBenchCommand* FindBenchCommand(std::uint8_t code) {
    for (const TBenchCommand& command : kBenchCommands)
        if (command.code == code)
            return &command;
    return nullptr;
}

} // namespace qv2f3
