#include "sim_unit.h"

#include <algorithm>

namespace sim {

namespace {
// Stray bytes of the Garbage fault; none of them is a bench packet type letter.
constexpr std::uint8_t kGarbage[] = {0xFF, 0x00, 0xA5, 0xFE, 0x7F};
} // namespace

std::vector<Outgoing> SimUnit::feed(const std::uint8_t* data, std::size_t count,
                                    std::uint32_t nowMs) {
    if (count == 0)
        return {};
    if (!rx_.empty() && nowMs - lastRxMs_ > kFrameGapMs)
        rx_.clear();
    lastRxMs_ = nowMs;
    rx_.insert(rx_.end(), data, data + count);
    if (rx_.size() > kMaxPending)
        rx_.erase(rx_.begin(), rx_.end() - static_cast<std::ptrdiff_t>(kMaxPending));

    std::vector<Packet> packets;
    while (!rx_.empty()) {
        const std::size_t need = frameLength(rx_);
        if (need == 0) {
            rx_.erase(rx_.begin());
            continue;
        }
        if (rx_.size() < need) {
            // A stray byte may look like the head of a long frame; a sound
            // frame already complete behind it is what the sender meant.
            const std::size_t later = completeFrameAfterHead();
            if (later == 0)
                break;
            rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(later));
            continue;
        }
        Bytes frame(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(need));
        if (!frameValid(frame)) {
            rx_.erase(rx_.begin());
            continue;
        }
        rx_.erase(rx_.begin(), rx_.begin() + static_cast<std::ptrdiff_t>(need));
        requests_.push_back(frame);
        if (requests_.size() > kHistory)
            requests_.pop_front();
        auto replies = handleFrame(frame);
        packets.insert(packets.end(), replies.begin(), replies.end());
    }
    return applyFaults(std::move(packets));
}

std::size_t SimUnit::completeFrameAfterHead() const {
    for (std::size_t at = 1; at < rx_.size(); ++at) {
        const Bytes rest(rx_.begin() + static_cast<std::ptrdiff_t>(at), rx_.end());
        const std::size_t need = frameLength(rest);
        if (need == 0 || need > rest.size())
            continue;
        const Bytes frame(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(need));
        if (frameValid(frame) && knownCommand(frame))
            return at;
    }
    return 0;
}

SimUnit::WriteFate SimUnit::writeFate() {
    const std::vector<Fault> hit = faults_.next(FaultTrigger::Write);
    const auto has = [&hit](FaultKind k) {
        return std::any_of(hit.begin(), hit.end(), [k](const Fault& f) { return f.kind == k; });
    };
    if (has(FaultKind::Refuse))
        return WriteFate::Refuse;
    return has(FaultKind::Keep) ? WriteFate::Keep : WriteFate::Store;
}

std::vector<Outgoing> SimUnit::applyFaults(std::vector<Packet> packets) {
    std::vector<Outgoing> out;
    int carriedDelay = 0; // delay of a silenced packet still separates the next one
    for (auto& packet : packets) {
        const auto hit = faults_.next(FaultTrigger::Reply);
        auto has = [&](FaultKind k) {
            return std::find_if(hit.begin(), hit.end(),
                                [k](const Fault& f) { return f.kind == k; }) != hit.end();
        };
        auto amount = [&](FaultKind k) {
            for (const auto& f : hit)
                if (f.kind == k)
                    return f.amount();
            return 0;
        };
        int delay = packet.delayMs + carriedDelay;
        carriedDelay = 0;
        if (has(FaultKind::DropLine)) {
            out.push_back(Outgoing{{}, delay, true});
            return out;
        }
        if (has(FaultKind::Silence)) {
            carriedDelay = delay;
            continue;
        }
        Bytes bytes = std::move(packet.bytes);
        if (has(FaultKind::BadChecksum) && !bytes.empty())
            bytes.back() ^= 0xFF;
        if (has(FaultKind::Short))
            bytes.resize(bytes.size() -
                         std::min<std::size_t>(bytes.size(), amount(FaultKind::Short)));
        if (has(FaultKind::Garbage)) {
            Bytes junk;
            for (int i = 0; i < amount(FaultKind::Garbage); ++i)
                junk.push_back(kGarbage[i % std::size(kGarbage)]);
            bytes.insert(bytes.begin(), junk.begin(), junk.end());
        }
        if (has(FaultKind::Late))
            delay += amount(FaultKind::Late);
        const FaultKind split =
            has(FaultKind::SplitFirst) ? FaultKind::SplitFirst : FaultKind::Split;
        if (has(split) && bytes.size() > 1) {
            const auto cut =
                static_cast<std::ptrdiff_t>(split == FaultKind::SplitFirst ? 1 : bytes.size() / 2);
            out.push_back(Outgoing{Bytes(bytes.begin(), bytes.begin() + cut), delay, false});
            out.push_back(Outgoing{Bytes(bytes.begin() + cut, bytes.end()), amount(split), false});
            continue;
        }
        out.push_back(Outgoing{std::move(bytes), delay, false});
    }
    return out;
}

} // namespace sim
