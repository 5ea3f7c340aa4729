#include "devices/qv1m/qv1_frame.h"

#include "qstring_print.h"

#include <gtest/gtest.h>

namespace {

TQv1mSet sampleSet() {
    TQv1mSet set;
    for (int n = 0; n < kQv1ModeCount; ++n)
        for (int c = 1; c <= kQv1ChannelCount; ++c) {
            const auto base = static_cast<std::uint16_t>(1000 * n + 100 * c);
            set.channel(c)[static_cast<std::size_t>(n)] = {
                base, static_cast<std::uint16_t>(base + 1),
                static_cast<std::uint16_t>(base + 0x102), static_cast<std::uint8_t>(n + c)};
        }
    return set;
}

TMasBytes sessionReply(std::string_view ident32, std::uint8_t modeDigit) {
    TMasBytes reply(kQv1SessionReplyLength, 0);
    reply[0] = 0x22;
    for (std::size_t i = 0; i < 32 && i < ident32.size(); ++i)
        reply[1 + i] = static_cast<std::uint8_t>(ident32[i]);
    reply[32] = modeDigit;
    reply[33] = 0x3C;
    return reply;
}

} // namespace

TEST(Qv1Frame, RequestsAreByteExact) {
    EXPECT_EQ(Qv1StartSessionRequest().frame,
              (TMasBytes{0x08, 0x73, 0x52, 0x34, 0x43, 0x46, 0x47, 0x3C}));
    EXPECT_EQ(Qv1StartSessionRequest().replyLength, 34);
    EXPECT_EQ(Qv1ReadModeRequest(0).frame, (TMasBytes{0x04, 0x6F, 0x31, 0x3C}));
    EXPECT_EQ(Qv1ReadModeRequest(6).frame, (TMasBytes{0x04, 0x6F, 0x37, 0x3C}));
    EXPECT_EQ(Qv1ReadModeRequest(3).replyLength, 23);
    EXPECT_EQ(Qv1ReadTimeErrRequest().frame, (TMasBytes{0x03, 0x70, 0x3C}));
    EXPECT_EQ(Qv1ReadTimeErrRequest().replyLength, 8);
    EXPECT_EQ(Qv1ReadVoltFlagsRequest().frame, (TMasBytes{0x03, 0x72, 0x3C}));
    EXPECT_EQ(Qv1ReadVoltFlagsRequest().replyLength, 9);
    EXPECT_EQ(Qv1CmdTRequest().frame, (TMasBytes{0x03, 0x74, 0x3C}));
    EXPECT_EQ(Qv1EndSessionRequest(false).frame, (TMasBytes{0x04, 0x71, 0x00, 0x3C}));
    EXPECT_EQ(Qv1EndSessionRequest(true).frame, (TMasBytes{0x04, 0x71, 0x01, 0x3C}));
    EXPECT_EQ(Qv1SwitchModeRequest(2).frame, (TMasBytes{0x04, 0x75, 0x33, 0x3C}));
    for (const TQv1Request& r : {Qv1CmdTRequest(), Qv1EndSessionRequest(true),
                                 Qv1SwitchModeRequest(0), Qv1WriteDateRequest(1, 1, 2025)})
        EXPECT_EQ(r.replyLength, 3);
}

TEST(Qv1Frame, WriteFramesCarryTheSettings) {
    RQV1M_val2 s;
    s.bTimePausePrevErr_K1 = 10;
    s.bTimePausePrevErr_K2 = 20;
    s.bTimePausePrevErr_K3 = 30;
    EXPECT_EQ(Qv1WriteTimeErrRequest(s).frame,
              (TMasBytes{0x09, 0x69, 0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0x3C}));
    s.bFlagMode_E = 0x03;
    s.wBut_Lvl_DO = 0x0190;
    s.wBut_Lvl_UD = 0x0201;
    s.wBut_Lvl_SC = 0x03FF;
    EXPECT_EQ(Qv1WriteVoltFlagsRequest(s).frame,
              (TMasBytes{0x0A, 0x30, 0x03, 0x90, 0x01, 0x01, 0x02, 0xFF, 0x03, 0x3C}));
    EXPECT_EQ(Qv1WriteDateRequest(8, 12, 2025).frame,
              (TMasBytes{0x06, 0x64, 0x08, 0x12, 0x25, 0x3C}));
    EXPECT_EQ(Qv1WriteDateRequest(31, 1, 2009).frame,
              (TMasBytes{0x06, 0x64, 0x31, 0x01, 0x09, 0x3C}));
}

TEST(Qv1Frame, WriteModeFrameLaysOutThreeChannels) {
    TQv1mSet set = sampleSet();
    set.mQV1M_1[6] = {0x1234, 0x0005, 0xABCD, 0x0F};
    set.mQV1M_2[6] = {0x0001, 0x0100, 0xFFFF, 0x80};
    set.mQV1M_3[6] = {0, 7, 0x0A0B, 0x02};
    const TQv1Request r = Qv1WriteModeRequest(set, 6);
    EXPECT_EQ(r.frame,
              (TMasBytes{0x18, 0x37, 0x34, 0x12, 0x05, 0x00, 0xCD, 0xAB, 0x0F, 0x01, 0x00, 0x00,
                         0x01, 0xFF, 0xFF, 0x80, 0x00, 0x00, 0x07, 0x00, 0x0B, 0x0A, 0x02, 0x3C}));
    EXPECT_EQ(r.replyLength, 3);
    EXPECT_EQ(Qv1WriteModeRequest(set, 0).frame[1], 0x31);
}

TEST(Qv1Frame, ModeReplyUsesTheWriteLayout) {
    const TQv1mSet source = sampleSet();
    for (int n = 0; n < kQv1ModeCount; ++n) {
        // An "o" reply carries at bytes 1..21 what the write frame carries at 2..22.
        const TMasBytes frame = Qv1WriteModeRequest(source, n).frame;
        TMasBytes reply(frame.begin() + 1, frame.end());
        reply.front() = 0x17;
        reply.back() = 0x3C;
        ASSERT_EQ(reply.size(), kQv1ModeReplyLength);
        TQv1mSet target;
        Qv1DecodeMode(reply, target, n);
        for (int c = 1; c <= kQv1ChannelCount; ++c)
            EXPECT_EQ(target.channel(c)[n], source.channel(c)[n]) << "mode " << n << " ch " << c;
    }
    TQv1mSet untouched;
    Qv1DecodeMode(TMasBytes(10, 0xFF), untouched, 0); // short: ignored
    Qv1DecodeMode(TMasBytes(23, 0xFF), untouched, 7); // no such mode: ignored
    EXPECT_EQ(untouched, TQv1mSet{});
}

TEST(Qv1Frame, CommonSettingsReplies) {
    RQV1M_val2 s;
    Qv1DecodeTimeErr({0x08, 5, 0xEE, 60, 0xEE, 255, 0xEE, 0x3C}, s);
    EXPECT_EQ(s.bTimePausePrevErr_K1, 5);
    EXPECT_EQ(s.bTimePausePrevErr_K2, 60);
    EXPECT_EQ(s.bTimePausePrevErr_K3, 255);
    Qv1DecodeVoltFlags({0x09, 0x02, 0x91, 0x01, 0x00, 0x02, 0xFF, 0xFF, 0x3C}, s);
    EXPECT_EQ(s.bFlagMode_E, 0x02);
    EXPECT_EQ(s.wBut_Lvl_DO, 0x0191);
    EXPECT_EQ(s.wBut_Lvl_UD, 0x0200);
    EXPECT_EQ(s.wBut_Lvl_SC, 0xFFFF);
    EXPECT_EQ(Qv1ResultCode({0x03, 0x00, 0x3C}), 0);
    EXPECT_EQ(Qv1ResultCode({0x03, 0x04, 0x3C}), 4);
    EXPECT_EQ(Qv1ResultCode({0x03}), 0xFF); // never "accepted" without the byte
}

TEST(Qv1Frame, SessionReplyGivesIdentDateAndMode) {
    // Bytes 1..21 text, 22..29 the date, 32 the mode digit.
    const TMasBytes reply =
        sessionReply("RI1-R v2.3 \x8F\xE0\xA8\xAC\xA5\xE0 \x01\xB3 08.12.25  ?", '3');
    EXPECT_EQ(Qv1DecodeIdentText(reply), QStringLiteral("RI1-R v2.3 Пример    08.12.25  3"));
    EXPECT_EQ(Qv1DecodeReleaseDate(reply), QStringLiteral("08.12.25"));
    EXPECT_EQ(Qv1DecodeCurrentMode(reply), 2);
    EXPECT_EQ(Qv1DecodeCurrentMode(sessionReply("", '1')), 0);
    EXPECT_EQ(Qv1DecodeCurrentMode(TMasBytes(10, 0)), -1);
    EXPECT_EQ(Qv1DecodeIdentText(TMasBytes(20, 'A')), QString());
}

TEST(Qv1Frame, IdentTextIsCp866WithBlanking) {
    const TMasBytes bytes{0x00, 0x1F, 0x7F, 0xB0, 0xC4, 0xDF, 0xF2, 0xFF, 0x20,
                          0x80, 0xAF, 0xE0, 0xEF, 0xF0, 0xF1, 0x41, 0x7E};
    TMasBytes reply = sessionReply("", '1');
    std::copy(bytes.begin(), bytes.end(), reply.begin() + 1);
    EXPECT_TRUE(Qv1DecodeIdentText(reply).startsWith(QStringLiteral("         АпряЁёA~")));
}

TEST(Qv1Frame, ReleaseDateIsSetUnlessAllZero) {
    EXPECT_FALSE(Qv1DateIsSet(QStringLiteral("00.00.00")));
    EXPECT_TRUE(Qv1DateIsSet(QStringLiteral("08.00.00")));
    EXPECT_TRUE(Qv1DateIsSet(QStringLiteral("00.12.00")));
    EXPECT_TRUE(Qv1DateIsSet(QStringLiteral("00.00.25")));
    EXPECT_TRUE(Qv1DateIsSet(QStringLiteral("        "))); // blanked bytes are no zero date
}
