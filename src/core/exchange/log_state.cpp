#include "exchange/log_state.h"

TAnalyzeLog AnalyzeLog;
std::array<QString, kLogLines> LogLines;
std::array<TLogColor, kLogLines> LogLineColor{};
std::array<TLogColor, kLogLines> LogViewColor{};
std::array<qint64, kLogLines> LogLineTime{};
std::array<std::uint64_t, kLogLines> LogLineSeq{};
std::uint64_t LogSeqCounter = 0;
std::array<int, kLogLines> LogViewSlot = [] {
    std::array<int, kLogLines> ringIndexes{};
    ringIndexes.fill(-1);
    return ringIndexes;
}();
std::uint16_t LogWritePos = 0;
int LogLineNo = 0;
std::function<void()> OnLogOptionsChanged;

void ResetLogState() {
    for (auto& line : LogLines)
        line.clear();
    LogLineColor.fill(clLogBlack);
    LogViewColor.fill(clLogBlack);
    LogLineTime.fill(0);
    LogLineSeq.fill(0);
    LogSeqCounter = 0;
    LogViewSlot.fill(-1);
    LogWritePos = 0;
    LogLineNo = 0;
    AnalyzeLog = TAnalyzeLog{};
}

int NextLogLineNo() {
    LogLineNo = LogLineNo >= kLogLineNoLimit ? 1 : LogLineNo + 1;
    return LogLineNo;
}

void AdvanceLogWritePos(int count) {
    LogWritePos = static_cast<std::uint16_t>((LogWritePos + count) % kLogLines);
}

void FillLogRows(int newest, bool oldestFirst, std::array<QString, kLogLines>& rows) {
    int row = 0;
    auto copy = [&](int i) {
        rows[row] = LogLines[i];
        LogViewColor[row] = LogLineColor[i];
        LogViewSlot[row] = i;
        ++row;
    };
    if (!oldestFirst) {
        for (int i = newest; i >= 0; --i)
            copy(i);
        for (int i = kLogLines - 1; i > newest; --i)
            copy(i);
        return;
    }
    for (int i = newest + 1; i < kLogLines; ++i)
        if (!LogLines[i].isEmpty())
            copy(i);
    for (int i = 0; i <= newest; ++i)
        if (!LogLines[i].isEmpty())
            copy(i);
}

void ClearLogRows(std::array<QString, kLogLines>& rows) {
    for (auto& row : rows)
        row.clear();
    LogViewColor.fill(clLogBlack);
    LogViewSlot.fill(-1);
}
