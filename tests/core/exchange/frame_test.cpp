#include "exchange/exchange_state.h"
#include "exchange/frame.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::uint16_t crcOfText(const std::string& text) {
    return Crc16(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

TMasBytes txWith(std::initializer_list<std::uint8_t> head) {
    TMasBytes buf(kTxBufSize, 0);
    std::copy(head.begin(), head.end(), buf.begin());
    return buf;
}

} // namespace

TEST(Crc16, CheckValueAndTableEntries) {
    EXPECT_EQ(crcOfText("123456789"), 0x29B1);
    EXPECT_EQ(Crc16HighTable[1] << 8 | Crc16LowTable[1], 0x1021);
    EXPECT_EQ(Crc16HighTable[2] << 8 | Crc16LowTable[2], 0x2042);
    EXPECT_EQ(Crc16HighTable[255] << 8 | Crc16LowTable[255], 0x1EF0);
    EXPECT_EQ(Crc16HighTable[0], 0);
    EXPECT_EQ(Crc16LowTable[0], 0);
}

TEST(Crc16, RequestFramesOfTheDriveController) {
    struct Case {
        std::initializer_list<std::uint8_t> head;
        std::uint8_t hi, lo;
    };
    for (const Case& c :
         {Case{{0x05, 0x01, 0x03}, 0x24, 0x3E}, Case{{0x05, 0x01, 0x04}, 0x54, 0xD9},
          Case{{0x05, 0x01, 0x00}, 0x14, 0x5D}}) {
        TMasBytes buf = txWith(c.head);
        std::uint16_t len = 3;
        AppendCrc16(buf, len);
        EXPECT_EQ(len, 5);
        EXPECT_EQ(buf[3], c.hi);
        EXPECT_EQ(buf[4], c.lo);
        EXPECT_EQ(buf[5], 0) << "nothing written past the CRC";
    }
}

TEST(Crc16, AppendCoversOneByteAndIsCutAt318) {
    TMasBytes buf = txWith({0x05});
    std::uint16_t len = 1;
    AppendCrc16(buf, len);
    EXPECT_EQ(len, 3);
    EXPECT_EQ(buf[1] << 8 | buf[2], Crc16Update(0x05, 0xFFFF));

    TMasBytes big(kTxBufSize);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 7);
    const std::uint16_t expected = Crc16(big.data(), 318);
    len = 330;
    AppendCrc16(big, len);
    EXPECT_EQ(len, 320);
    EXPECT_EQ(big.size(), kTxBufSize);
    EXPECT_EQ(big[318] << 8 | big[319], expected);
}

TEST(Crc16, EmptyFrameAndTooSmallBuffer) {
    TMasBytes buf = txWith({});
    std::uint16_t len = 0;
    AppendCrc16(buf, len);
    EXPECT_EQ(len, 2);
    EXPECT_EQ(buf[0], 0xFF);
    EXPECT_EQ(buf[1], 0xFF);

    TMasBytes small{0x05, 0x01, 0x03};
    len = 3;
    AppendCrc16(small, len);
    EXPECT_EQ(len, 3) << "a buffer without room for the CRC is left alone";
    EXPECT_EQ(small.size(), 3u);
}

TEST(Crc16, GlobalTxBuf) {
    ExchangeState.Reset();
    ExchangeState.TxBuf[0] = 0x05;
    ExchangeState.TxBuf[1] = 0x01;
    ExchangeState.TxBuf[2] = 0x03;
    ExchangeState.TxLength = 3;
    AppendCrc16();
    EXPECT_EQ(ExchangeState.TxLength, 5);
    EXPECT_EQ(BytesToHex(ExchangeState.TxBuf.data(), 5), "050103243E");
}

TEST(Sum8, BenchCommandsAndCheck) {
    const std::uint8_t stop[] = {0x43, 0x00};
    const std::uint8_t run[] = {0x43, 0x80};
    EXPECT_EQ(Sum8(stop, 2), 0x43);
    EXPECT_EQ(Sum8(run, 2), 0xC3);
    const std::uint8_t wrap[] = {0xFF, 0x02};
    EXPECT_EQ(Sum8(wrap, 2), 0x01);

    TMasBytes rx(kRxBufSize, 0);
    rx[0] = 0x7F;
    rx[1] = 0x00;
    EXPECT_FALSE(funCheckCS(rx, 1));
    EXPECT_FALSE(funCheckCS(rx, 0));
    EXPECT_FALSE(funCheckCS(rx, 2)) << "RxBuf[1] must equal RxBuf[0]";
    rx[1] = 0x7F;
    EXPECT_TRUE(funCheckCS(rx, 2));
    rx[0] = 'T';
    rx[1] = 0x10;
    rx[2] = 0x20;
    rx[3] = static_cast<std::uint8_t>('T' + 0x30);
    EXPECT_TRUE(funCheckCS(rx, 4));
    EXPECT_FALSE(funCheckCS(rx, kRxBufSize + 1)) << "never reads past the buffer";
}

TEST(HexText, BytesAndValues) {
    EXPECT_EQ(ByteToHex(0x00), "00");
    EXPECT_EQ(ByteToHex(0x0A), "0A");
    EXPECT_EQ(ByteToHex(0xFF), "FF");
    const std::uint8_t digest[] = {0xD4, 0x1D, 0x8C, 0xD9};
    EXPECT_EQ(BytesToHex(digest, 4), "D41D8CD9");
    EXPECT_EQ(BytesToHex(digest, 0), "");

    EXPECT_EQ(ValueToHex(1, true, 0), "00");
    EXPECT_EQ(ValueToHex(1, false, 0), "0");
    EXPECT_EQ(ValueToHex(1, false, 0x0A), "A");
    EXPECT_EQ(ValueToHex(1, true, 0x0A), "0A");
    EXPECT_EQ(ValueToHex(2, false, 0x100), "100");
    EXPECT_EQ(ValueToHex(2, true, 0x100), "0100");
    EXPECT_EQ(ValueToHex(2, false, 0x1002), "1002") << "inner zeros stay";
    EXPECT_EQ(ValueToHex(8, false, 0xFFFFFFFFFFFFFFFFull), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(ValueToHex(1, false, 0x1AB), "AB") << "a wider value keeps its low part";
    EXPECT_EQ(ValueToHex(0, false, 5), "0");
}

TEST(HexText, ParsingOddInputs) {
    EXPECT_EQ(HexToValue("ff"), 255u);
    EXPECT_EQ(HexToValue("FF"), 255u);
    EXPECT_EQ(HexToValue(""), 0u);
    EXPECT_EQ(HexToValue("1G"), 16u);
    EXPECT_EQ(HexToValue("0x10"), 16u) << "'x' is a zero digit in its place";
    EXPECT_EQ(HexToValue(" 1"), 1u);
    EXPECT_EQ(HexToValue("-1"), 1u);
    EXPECT_EQ(HexToValue("FFFFFFFFFFFFFFFF"), 0xFFFFFFFFFFFFFFFFull);
    EXPECT_EQ(HexToValue(std::string(255, 'F')), 0xFFFFFFFFFFFFFFFFull) << "long texts wrap";

    EXPECT_EQ(DecimalAsHex(24, ""), 0x24u);
    EXPECT_EQ(DecimalAsHex(25, "ignored"), 0x25u);
    EXPECT_EQ(DecimalAsHex(-1, "1A"), 26u);
    EXPECT_EQ(DecimalAsHex(0, ""), 0u);
    EXPECT_EQ(DecimalAsHex(2026 - 2000, ""), 0x26u);
}
