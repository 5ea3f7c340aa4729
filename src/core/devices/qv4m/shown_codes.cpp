#include "devices/qv4m/shown_codes.h"

#include "devices/qv4m/number_text.h"

#include <algorithm>

void TShownCodes::note(TVoltEntry entry, const QString& text, std::uint16_t code) {
    const auto it = std::find_if(shown_.begin(), shown_.end(),
                                 [entry](const TShown& s) { return s.entry == entry; });
    if (it != shown_.end())
        *it = {entry, text, code};
    else
        shown_.push_back({entry, text, code});
}

const TShownCodes::TShown* TShownCodes::find(TVoltEntry entry) const {
    const auto it = std::find_if(shown_.begin(), shown_.end(),
                                 [entry](const TShown& s) { return s.entry == entry; });
    return it != shown_.end() ? &*it : nullptr;
}

bool TShownCodes::stillShown(const TQv4mParams& p, TVoltEntry entry) const {
    const TShown* s = find(entry);
    return s && p.*entry == s->text;
}

std::optional<std::uint16_t> TShownCodes::kept(const TQv4mParams& p, TVoltEntry entry) const {
    constexpr TVoltEntry reference = &TQv4mParams::VoltOpora;
    if (!stillShown(p, entry) || (entry != reference && !stillShown(p, reference)))
        return std::nullopt;
    return find(entry)->code;
}

void TVoltShower::show(TVoltEntry entry, const QString& text, std::uint16_t code) const {
    p_.*entry = text;
    if (shown_)
        shown_->note(entry, text, code);
}

void TVoltShower::reference(std::uint16_t code) const {
    show(&TQv4mParams::VoltOpora, FormatVolts(vrefShown_), code);
}

void TVoltShower::volts(TVoltEntry entry, std::uint16_t code) const {
    show(entry, FormatVolts(CodeVolts(code, vrefShown_)), code);
}
