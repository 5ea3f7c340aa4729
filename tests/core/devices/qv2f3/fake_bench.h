// The ZI2-Z3 bench behind the QV1 line seam, as the service reaches it:
// scripted replies, recorded frames, port openings and background reception
// switches, and the exchange log's lines.
#pragma once

#include "devices/qv1/qv1_link.h"
#include "exchange/exchange_state.h"
#include "exchange/log_model.h"

#include <QObject>
#include <deque>
#include <optional>
#include <vector>

struct FakeBench {
    struct Line {
        QString text;
        int color = 0;
    };

    bool canOpen = true;
    std::vector<TMasBytes> sent;
    std::deque<std::optional<TMasBytes>> replies; // nullopt: the unit stays silent
    std::vector<bool> opens;
    std::vector<bool> phon;
    std::vector<Line> log;

    FakeBench() {
        Qv1Line().openClose = [this](bool open) {
            opens.push_back(open);
            ExchangeState.PortOpen[0] = open && canOpen;
        };
        Qv1Line().sendReceive = [this](const TReplyCheck&) { return answer(); };
        Qv1Line().setPhonReceive = [this](bool on) { phon.push_back(on); };
        QObject::connect(&ExchangeLog(), &TLogModel::lineAdded, &logged_,
                         [this](const TLogLine& line) {
                             log.push_back({line.text, static_cast<int>(line.color)});
                         });
    }
    ~FakeBench() { ResetQv1Line(); }
    FakeBench(const FakeBench&) = delete;
    FakeBench& operator=(const FakeBench&) = delete;

private:
    bool answer() {
        TExchangeState& x = ExchangeState;
        x.RxLength = 0;
        if (!x.PortOpen[0])
            return false;
        sent.emplace_back(x.TxBuf.begin(), x.TxBuf.begin() + x.TxLength);
        if (x.RxExpected == 0)
            return true;
        if (replies.empty())
            return false;
        const auto reply = replies.front();
        replies.pop_front();
        if (!reply)
            return false;
        std::copy(reply->begin(), reply->end(), x.RxBuf.begin());
        x.RxLength = static_cast<std::uint16_t>(reply->size());
        return reply->size() == x.RxExpected;
    }

    // Ends the log connection with the fake.
    QObject logged_;
};
