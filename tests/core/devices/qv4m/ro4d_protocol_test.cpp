// RO-4D frames byte for byte, the version's board generation and the
// decoding of read pages into the page values.
#include "devices/qv4m/number_text.h"
#include "devices/qv4m/param_codec.h"
#include "devices/qv4m/ro4d_protocol.h"
#include "devices/qv4m/ro4d_read_decode.h"

#include <gtest/gtest.h>

namespace {

TMasBytes WithCrc(TMasBytes bytes) {
    const std::uint16_t crc = Crc16(bytes.data(), bytes.size());
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    return bytes;
}

TMasBytes Framed(const TRo4dRequest& r) {
    TMasBytes buf(64, 0);
    std::copy(r.bytes.begin(), r.bytes.end(), buf.begin());
    auto len = static_cast<std::uint16_t>(r.bytes.size());
    AppendCrc16(buf, len);
    buf.resize(len);
    return buf;
}

// The page defaults on a board without the test line.
TParamRegs DefaultParams() {
    TParamRegs p{};
    const std::uint16_t listed[] = {15,  7,   1,   6,   6,   240, 25,     3,  5, 10,  0, 205,   232,
                                    993, 883, 768, 993, 883, 768, 0x1800, 30, 1, 120, 0, 0x3355};
    std::copy(std::begin(listed), std::end(listed), p.begin());
    return p;
}

TMasBytes PageReply(std::array<std::uint16_t, 8> words) {
    TMasBytes r{22, 1, 1, 1};
    for (auto w : words) {
        r.push_back(static_cast<std::uint8_t>(w & 0xFF));
        r.push_back(static_cast<std::uint8_t>(w >> 8));
    }
    r.push_back(0);
    r.push_back(0);
    return r;
}

} // namespace

TEST(Ro4dFrames, FixedRequestsAndReplyLengths) {
    EXPECT_EQ(Framed(VersionRequest()), WithCrc({0x05, 0x01, 0x00}));
    EXPECT_EQ(Framed(PageRequest(3)), WithCrc({0x06, 0x01, 0x01, 0x03}));
    EXPECT_EQ(Framed(SaveToFlashRequest()), WithCrc({0x05, 0x01, 0x03}));
    EXPECT_EQ(Framed(RestartRequest()), WithCrc({0x05, 0x01, 0x04}));
    EXPECT_EQ(Framed(ReadErrorsRequest()), WithCrc({0x05, 0x01, 0x06}));
    EXPECT_EQ(Framed(AdcRequest(5)), WithCrc({0x06, 0x01, 0x07, 0x05}));
    EXPECT_EQ(VersionRequest().replyLength, 27);
    EXPECT_EQ(PageRequest(0).replyLength, 22);
    EXPECT_EQ(SaveToFlashRequest().replyLength, 6);
    EXPECT_EQ(RestartRequest().replyLength, 11);
    EXPECT_EQ(ReadErrorsRequest().replyLength, 11);
    EXPECT_EQ(AdcRequest(0).replyLength, 8);
}

TEST(Ro4dFrames, WriteFramesShiftParametersByOneRegister) {
    TModeRegs mode{};
    for (int i = 0; i < 33; ++i)
        mode[i] = static_cast<std::uint16_t>(0x0100 + i);
    const auto frames = WriteRequests(DefaultParams(), mode);
    EXPECT_EQ(frames[0].bytes,
              (TMasBytes{0x16, 0x01, 0x05, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x07, 0x00,
                         0x01, 0x00, 0x06, 0x00, 0x06, 0x00, 0xF0, 0x00, 0x19, 0x00}));
    EXPECT_EQ(Framed(frames[0]).size(), 22u);
    // Frame 2 carries P7..P14, frame 4 P23, P24 and six zero words.
    EXPECT_EQ(frames[1].bytes[3], 0x08);
    EXPECT_EQ(frames[1].bytes[4], 3); // P7
    EXPECT_EQ(frames[3].bytes, (TMasBytes{0x16, 0x01, 0x05, 0x18, 0x00, 0x00, 0x55, 0x33, 0, 0,
                                          0,    0,    0,    0,    0,    0,    0,    0,    0, 0}));
    // Mode frames from 0x20: M0 first, low byte first; frame 7 ends with zeros
    // even where the image holds more than the 20 mode words.
    EXPECT_EQ(frames[4].bytes[3], 0x20);
    EXPECT_EQ(frames[4].bytes[4], 0x00);
    EXPECT_EQ(frames[4].bytes[5], 0x01);
    EXPECT_EQ(frames[6].bytes[3], 0x30);
    EXPECT_EQ(frames[6].bytes[4], 16);
    EXPECT_EQ(frames[6].bytes[10], 19);
    EXPECT_EQ(TMasBytes(frames[6].bytes.begin() + 12, frames[6].bytes.end()), TMasBytes(8, 0));
}

TEST(Ro4dFrames, BoardGenerationFromVersionText) {
    EXPECT_EQ(BoardGeneration(QStringLiteral("VI-4D v.2.1 15.03.19 ")), 0x21);
    EXPECT_EQ(BoardGeneration(QStringLiteral("VI-4D v.1.9 20.11.17 ")), 0x19);
    EXPECT_EQ(BoardGeneration(QString()), 0x10);
    EXPECT_EQ(BoardGeneration(QStringLiteral("VI-4D v.2.1")), 0x10) << "eleven characters";
    EXPECT_EQ(BoardGeneration(QStringLiteral("VI-4D v.x.2 ")), 0x02);
    TMasBytes reply{27, 1, 0, 1};
    for (char c : std::string("VI-4D v.2.0 \xE9.03.19 "))
        reply.push_back(static_cast<std::uint8_t>(c));
    reply.resize(27, 0);
    const QString text = VersionText(reply);
    EXPECT_EQ(text.size(), 21);
    EXPECT_EQ(text[12].unicode(), 0xE9);
    EXPECT_EQ(BoardGeneration(text), 0x20);
}

TEST(Ro4dFrames, AdcChannelAndErrorValues) {
    EXPECT_EQ(AdcChannelOf(0), 0);
    EXPECT_EQ(AdcChannelOf(5), 5);
    EXPECT_EQ(AdcChannelOf(-1), 5) << "no selection";
    EXPECT_EQ(AdcChannelOf(9), 5);
    const TRo4dErrors e = ErrorsOf({11, 1, 6, 1, 0x41, 0x00, 0x04, 0x80, 0x3F, 0, 0});
    EXPECT_EQ(e.wErr1, 0x0041);
    EXPECT_EQ(e.wErr2, 0x8004);
    EXPECT_EQ(e.bVoltErr, 0x3F);
}

TEST(Ro4dFrames, ReplyToAnotherCommandIsNamed) {
    const TMasBytes version{27, 1, 0, 1, 'V', 'I'};
    EXPECT_EQ(ReplyCommandMismatch(version, version.size(), 1),
              QStringLiteral("Отброшен ответ на команду 0 (версия): запрошена команда 1 (чтение "
                             "страницы)"));
    EXPECT_EQ(ReplyCommandMismatch(version, version.size(), 0), QString());
    EXPECT_EQ(ReplyCommandMismatch(version, 2, 1), QString()) << "too short to tell";
    EXPECT_EQ(ReplyCommandMismatch({6, 1, 9, 1}, 4, 5),
              QStringLiteral("Отброшен ответ на команду 9 (неизвестная): запрошена команда 5 "
                             "(запись)"));
}

TEST(Ro4dReadDecode, PagesZeroToThree) {
    TQv4mParams p;
    p.LineChecks = 0x0F00; // board switches
    int mainMode = 1;
    TReadCarry carry;
    DecodeReadPage(0, {15, 7, 1, 0x0105, 6, 240, 25, 3}, 5.5, false, p, mainMode, carry);
    EXPECT_EQ(p.TimeSearchSinus, QStringLiteral("30"));
    EXPECT_EQ(p.T_min6a, QStringLiteral("5")) << "only the low byte";
    EXPECT_EQ(p.TimeAntidrebADC, QStringLiteral("500"));
    EXPECT_EQ(p.TimeAntidrebWarning, QStringLiteral("60"));

    p.VoltLowTestMotor = QStringLiteral("untouched");
    DecodeReadPage(1, {5, 0x0105, 0, 205, 232, 993, 883, 768}, 5.5, false, p, mainMode, carry);
    EXPECT_EQ(p.VoltOpora, FormatVolts(5.0));
    EXPECT_EQ(p.TimeAntidrebRele, QStringLiteral("10"));
    EXPECT_EQ(p.T_end, QStringLiteral("261"));
    EXPECT_EQ(p.VoltHiBtn, FormatVolts(4.85));
    // The single lower test limit lives in cVolt_Lvl_L, as the write puts it.
    EXPECT_EQ(p.VoltLowTestMotor, FormatVolts(1.00));

    DecodeReadPage(2, {993, 883, 768, 0x1805, 30, 1, 120, 0}, 5.5, false, p, mainMode, carry);
    EXPECT_EQ(p.VoltLoSig, FormatVolts(3.75));
    EXPECT_TRUE(p.CheckBox1);
    EXPECT_EQ(mainMode, 0);
    EXPECT_EQ(carry.flagMode1, 0x1805);
    // Words 4 to 6 are registers 20 to 22, where the write sends these three.
    EXPECT_EQ(p.TimeMode3, QStringLiteral("30"));
    EXPECT_EQ(p.T_wait, QStringLiteral("1"));
    EXPECT_EQ(p.PeriodTimeTest, QStringLiteral("120"));

    DecodeReadPage(3, {0x3015, 0, 0, 0, 0, 0, 0, 0}, 5.5, false, p, mainMode, carry);
    EXPECT_EQ(p.LineChecks, 0x3F15) << "line bits from the unit, switches kept";
}

TEST(Ro4dReadDecode, TwoXBoardThresholdsAndModeWords) {
    TQv4mParams p;
    int mainMode = 1;
    TReadCarry carry;
    // 3.30 V reference on the 3.63 V scale.
    DecodeReadPage(1, {5, 10, 729, 496, 232, 993, 883, 768}, 3.63, true, p, mainMode, carry);
    EXPECT_EQ(p.VoltOpora, FormatVolts(3.30));
    EXPECT_EQ(p.Edit1, FormatVolts(2.35));
    EXPECT_EQ(p.Edit2, FormatVolts(1.60));
    for (int page = 4; page < 7; ++page) {
        std::array<std::uint16_t, 8> w{};
        for (int k = 0; k < 8; ++k)
            w[k] = static_cast<std::uint16_t>(page * 8 + k);
        DecodeReadPage(page, w, 3.63, true, p, mainMode, carry);
    }
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(carry.modeWords[i], 32 + i) << i;
    EXPECT_EQ(PageWords(PageReply({1, 2, 3, 4, 5, 6, 7, 0xABCD}))[7], 0xABCD);
}
