#include "devices/qv4m/qv4m_files.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

void putWord(QByteArray& out, std::uint16_t word) {
    out.append(static_cast<char>(word & 0xFF));
    out.append(static_cast<char>(word >> 8));
}

constexpr const char* kModeNames[kModeFieldCount] = {
    "wFlagWork_M1", "wFlagWork_M2", "wTempV1a", "wTempV2a", "wTempV3a", "wTempV4a", "wTempV5a",
    "wTempS3a",     "wTempS4a",     "wTempS5a", "wTempS6a", "wTempV1b", "wTempV2b", "wTempV3b",
    "wTempV4b",     "wTempV5b",     "wTempS3b", "wTempS4b", "wTempS5b", "wTempS6b",
};

struct TNamedParam {
    int word;
    const char* name;
};

// Words 10 and 23 have no line.
constexpr TNamedParam kParamNames[] = {
    {cNumTryIsSinus, "cNumTryIsSinus"},
    {cNumTryOff_R2, "cNumTryOff_R2"},
    {bNsecWorkAfterBtnUp, "bNsecWorkAfterBtnUp"},
    {wNsecWork_T_min6_M1, "wNsecWork_T_min6_M1"},
    {wNsecWork_T_min6_M2, "wNsecWork_T_min6_M2"},
    {cKoncErrTime, "cKoncErrTime"},
    {cAntiDreb_ADC_B, "cAntiDreb_ADC_B/10"},
    {cAntiDreb_ADC_E, "cAntiDreb_ADC_E/10"},
    {cAntiDrebR, "cAntiDrebR"},
    {wNsecWork_T_end, "wNsecWork_T_end"},
    {cVolt_Lvl_L, "cVolt_Lvl_L"},
    {bVoltRef, "bVoltRef"},
    {wBut_Lvl_DO, "wBut_Lvl_DO"},
    {wBut_Lvl_UD, "wBut_Lvl_UD"},
    {wBut_Lvl_SC, "wBut_Lvl_SC"},
    {wSig_Lvl_DO, "wSig_Lvl_DO"},
    {wSig_Lvl_UD, "wSig_Lvl_UD"},
    {wSig_Lvl_SC, "wSig_Lvl_SC"},
    {wFlag_Mode_1, "wFlag_Mode_1"},
    {bNsecWorkAfterBtnUp_3, "bNsecWorkAfterBtnUp_3"},
    {bValue_T_wait, "bValue_T_wait"},
    {cVolt_Lvl_TimePeriod, "cVolt_Lvl_TimePeriod"},
    {wFlagCheck_But_Sig_SW_OZ, "wFlagCheck_But_Sig_SW_OZ"},
};

QByteArray exportLine(const char* name, std::uint16_t word) {
    return QByteArray("        ") + name + " = 0x" +
           QByteArray::number(word, 16).toUpper().rightJustified(4, '0') + ";\r\n";
}

} // namespace

QByteArray ConfigFileBytes(const TParamRegs& params, const TModeRegs& mode,
                           const TExtraWords& extra) {
    QByteArray out;
    out.reserve(kConfigFileBytes);
    for (std::uint16_t w : params)
        putWord(out, w);
    for (std::uint16_t w : mode)
        putWord(out, w);
    for (std::uint16_t w : extra)
        putWord(out, w);
    return out;
}

int LoadConfigWords(const QByteArray& data, TParamRegs& params, TModeRegs& mode,
                    TExtraWords& extra) {
    const int available = static_cast<int>(data.size() / 2);
    const int count = std::min(available, kParamRegCount + kModeRegCount + kLoadedExtraWords);
    for (int i = 0; i < count; ++i) {
        const auto lo = static_cast<std::uint8_t>(data[2 * i]);
        const auto hi = static_cast<std::uint8_t>(data[2 * i + 1]);
        const auto word = static_cast<std::uint16_t>(lo | (hi << 8));
        if (i < kParamRegCount)
            params[static_cast<std::size_t>(i)] = word;
        else if (i < kParamRegCount + kModeRegCount)
            mode[static_cast<std::size_t>(i - kParamRegCount)] = word;
        else
            extra[static_cast<std::size_t>(i - kParamRegCount - kModeRegCount)] = word;
    }
    return count;
}

bool ParseConfigImage(const QByteArray& data, TRo4dImage& image, QString& reason, qint64 fileSize) {
    if (data.size() != kConfigFileBytes) {
        reason = QStringLiteral("в файле %1 байт, а в файле конфигурации их %2")
                     .arg(std::max<qint64>(fileSize, data.size()))
                     .arg(kConfigFileBytes);
        return false;
    }
    LoadConfigWords(data, image.params, image.mode, image.extra);
    // The load leaves the last extra word alone; a compare takes the whole file.
    const auto lo = static_cast<std::uint8_t>(data[kConfigFileBytes - 2]);
    const auto hi = static_cast<std::uint8_t>(data[kConfigFileBytes - 1]);
    image.extra[kExtraWordCount - 1] = static_cast<std::uint16_t>(lo | (hi << 8));
    return true;
}

bool ReadConfigBytes(const QString& path, QByteArray& data, qint64& fileSize, QString& reason) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        reason =
            info.exists() ? QStringLiteral("это не обычный файл") : QStringLiteral("файла нет");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = QStringLiteral("не удаётся открыть (%1)").arg(file.errorString());
        return false;
    }
    fileSize = file.size();
    // One byte more than a whole file tells a longer file from a whole one.
    data = file.read(kConfigFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        reason = QStringLiteral("ошибка чтения (%1)").arg(file.errorString());
        return false;
    }
    return true;
}

bool ReadConfigImage(const QString& path, TRo4dImage& image, QString& reason) {
    QByteArray data;
    qint64 size = 0;
    return ReadConfigBytes(path, data, size, reason) && ParseConfigImage(data, image, reason, size);
}

QByteArray RegExportText(const TParamRegs& params, const TModeRegs& mode) {
    QByteArray out;
    for (int i = 0; i < kModeFieldCount; ++i)
        out += exportLine(kModeNames[i], mode[static_cast<std::size_t>(i)]);
    for (const TNamedParam& p : kParamNames)
        out += exportLine(p.name, params[static_cast<std::size_t>(p.word)]);
    return out;
}

const char* ModeWordName(int n) {
    return n >= 0 && n < kModeFieldCount ? kModeNames[n] : "";
}

QString RegExportFileName() {
    return QStringLiteral("reg_xx.txt");
}
