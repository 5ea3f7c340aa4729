// An RI1-R unit behind the QV1 line seam: answers the page's frames from its
// own memory, records every frame, and can go silent, answer short or refuse.
#pragma once

#include "devices/qv1/qv1_link.h"
#include "devices/qv1m/qv1_frame.h"
#include "exchange/exchange_state.h"

#include <map>
#include <string>
#include <vector>

class FakeRi1r {
public:
    TQv1mSet memory;
    // Bytes 1..32 of the session reply; the date sits at 22..29, the mode digit at 32.
    std::string ident = "RI1-R 1.05 \x8F\xE0\xA8\xAC\xA5\xE0    08.12.25  2";
    // Frames sent, in order, and the opening state of the port.
    std::vector<TMasBytes> frames;
    bool portOpen = false;
    int opens = 0;
    // Answers only this many frames, then stays silent (-1: always answers).
    int answerLimit = -1;
    // Replies one byte short from this frame on (-1: never).
    int shortFrom = -1;
    // Result codes other than 0 per command byte; a refused write changes nothing.
    std::map<std::uint8_t, std::uint8_t> refuse;

    FakeRi1r() {
        Qv1Line().openClose = [this](bool open) {
            portOpen = open;
            opens += open;
            ExchangeState.PortOpen[0] = open;
        };
        Qv1Line().sendReceive = [this](const TReplyCheck&) { return answer(); };
    }
    ~FakeRi1r() { ResetQv1Line(); }
    FakeRi1r(const FakeRi1r&) = delete;
    FakeRi1r& operator=(const FakeRi1r&) = delete;

    void setModeDigit(char digit) { ident[31] = digit; }
    void setDate(const std::string& date) { ident.replace(21, 8, date); }
    std::string commands() const {
        std::string s;
        for (const TMasBytes& f : frames)
            s += static_cast<char>(f.size() > 1 ? f[1] : '?');
        return s;
    }

private:
    // The mark these units end their replies with.
    static constexpr std::uint8_t kReplyEnd = 0x3E;

    bool answer() {
        TExchangeState& x = ExchangeState;
        const TMasBytes frame(x.TxBuf.begin(), x.TxBuf.begin() + x.TxLength);
        frames.push_back(frame);
        x.RxLength = 0;
        const int index = static_cast<int>(frames.size()) - 1;
        if (!x.PortOpen[0] || frame.size() < 3 || (answerLimit >= 0 && index >= answerLimit))
            return false;
        TMasBytes reply = respond(frame);
        if (shortFrom >= 0 && index >= shortFrom)
            reply.pop_back();
        std::copy(reply.begin(), reply.end(), x.RxBuf.begin());
        x.RxLength = static_cast<std::uint16_t>(reply.size());
        return x.RxLength == x.RxExpected;
    }

    TMasBytes respond(const TMasBytes& f) {
        const std::uint8_t cmd = f[1];
        RQV1M_val2& s = memory.mQV1M_s;
        switch (cmd) {
        case 's': {
            TMasBytes r(34, 0);
            r.front() = 34;
            std::copy_n(ident.begin(), 32, r.begin() + 1);
            r.back() = kReplyEnd;
            return r;
        }
        case 'o': {
            const TMasBytes w = Qv1WriteModeRequest(memory, f[2] - 0x31).frame;
            TMasBytes r(w.begin() + 1, w.end());
            r.front() = 23;
            r.back() = kReplyEnd;
            return r;
        }
        case 'p':
            return {8, s.bTimePausePrevErr_K1, 0, s.bTimePausePrevErr_K2,
                    0, s.bTimePausePrevErr_K3, 0, kReplyEnd};
        case 'r': {
            TMasBytes r{9, s.bFlagMode_E};
            for (std::uint16_t w : {s.wBut_Lvl_DO, s.wBut_Lvl_UD, s.wBut_Lvl_SC})
                Qv1PutWord(r, w);
            r.push_back(kReplyEnd);
            return r;
        }
        default:
            break;
        }
        const std::uint8_t code = refuse.count(cmd) ? refuse[cmd] : 0;
        if (code == 0)
            store(f);
        return {3, code, kReplyEnd};
    }

    void store(const TMasBytes& f) {
        RQV1M_val2& s = memory.mQV1M_s;
        const std::uint8_t cmd = f[1];
        if (cmd >= '1' && cmd <= '7' && f.size() == 24) {
            TMasBytes asReply(f.begin() + 1, f.end());
            asReply.front() = 23;
            Qv1DecodeMode(asReply, memory, cmd - '1');
        } else if (cmd == 'i' && f.size() == 9) {
            s.bTimePausePrevErr_K1 = f[2];
            s.bTimePausePrevErr_K2 = f[4];
            s.bTimePausePrevErr_K3 = f[6];
        } else if (cmd == '0' && f.size() == 10) {
            Qv1DecodeVoltFlags(TMasBytes(f.begin() + 1, f.end()), s);
        }
    }
};
