#include "faults.h"

#include <QStringList>
#include <array>

namespace sim {

namespace {

struct KindInfo {
    FaultKind kind;
    const char* name;
    int defaultValue; // -1: the kind takes no amount, or needs one (Late)
    const char* help;
};

constexpr std::array<KindInfo, 10> kKinds{{
    {FaultKind::Silence, "silence", -1, "no reply"},
    {FaultKind::Late, "late", -1, "reply VALUE ms late (VALUE required)"},
    {FaultKind::Short, "short", 1, "reply without its last VALUE bytes (1)"},
    {FaultKind::Split, "split", 50, "reply in two halves VALUE ms apart (50)"},
    {FaultKind::SplitFirst, "first", 50, "reply's first byte alone, the rest VALUE ms later (50)"},
    {FaultKind::BadChecksum, "crc", -1, "last byte (CRC or sum) inverted"},
    {FaultKind::Garbage, "garbage", 3, "VALUE stray bytes before the reply (3)"},
    {FaultKind::Refuse, "refuse", -1, "writes and saves refused with an error code"},
    {FaultKind::DropLine, "drop", -1, "the line drops instead of the reply"},
    {FaultKind::Keep, "keep", -1, "writes acknowledged as done, old values kept"},
}};

const KindInfo& infoOf(FaultKind kind) {
    for (const auto& info : kKinds)
        if (info.kind == kind)
            return info;
    return kKinds.front();
}

bool fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

bool parseNumber(const QString& text, int min, int* out) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v < min)
        return false;
    *out = v;
    return true;
}

} // namespace

int Fault::amount() const {
    return value >= 0 ? value : infoOf(kind).defaultValue;
}

FaultTrigger TriggerOf(FaultKind kind) {
    return kind == FaultKind::Refuse || kind == FaultKind::Keep ? FaultTrigger::Write
                                                                : FaultTrigger::Reply;
}

QString FaultKindName(FaultKind kind) {
    return QString::fromLatin1(infoOf(kind).name);
}

std::vector<Fault> FaultSet::next(FaultTrigger trigger) {
    std::vector<Fault> hit;
    for (auto it = faults_.begin(); it != faults_.end();) {
        if (TriggerOf(it->kind) != trigger) {
            ++it;
            continue;
        }
        if (it->after > 0) {
            --it->after;
            ++it;
            continue;
        }
        hit.push_back(*it);
        if (it->count > 0 && --it->count == 0)
            it = faults_.erase(it);
        else
            ++it;
    }
    return hit;
}

std::optional<Fault> ParseFault(const QString& text, QString* error) {
    const QStringList parts = text.split(QLatin1Char(','));
    const QString head = parts.front().trimmed();
    const QString name = head.section(QLatin1Char(':'), 0, 0).toLower();
    const KindInfo* info = nullptr;
    for (const auto& k : kKinds)
        if (name == QLatin1String(k.name))
            info = &k;
    if (!info) {
        fail(error, QStringLiteral("unknown fault \"%1\"").arg(name));
        return std::nullopt;
    }
    Fault fault{info->kind};
    if (head.contains(QLatin1Char(':')) &&
        !parseNumber(head.section(QLatin1Char(':'), 1), 0, &fault.value)) {
        fail(error, QStringLiteral("bad amount in \"%1\"").arg(head));
        return std::nullopt;
    }
    if (fault.kind == FaultKind::Late && fault.value < 0) {
        fail(error, QStringLiteral("late needs a delay in ms, e.g. late:300"));
        return std::nullopt;
    }
    for (int i = 1; i < parts.size(); ++i) {
        const QString key = parts[i].section(QLatin1Char('='), 0, 0).trimmed();
        const QString value = parts[i].section(QLatin1Char('='), 1);
        int* target = key == QLatin1String("count")   ? &fault.count
                      : key == QLatin1String("after") ? &fault.after
                                                      : nullptr;
        if (!target || !parseNumber(value, key == QLatin1String("count") ? 1 : 0, target)) {
            fail(error, QStringLiteral("bad option \"%1\" (count=N or after=N)").arg(parts[i]));
            return std::nullopt;
        }
    }
    return fault;
}

QString FaultSyntaxHelp() {
    QString help = QStringLiteral("KIND[:VALUE][,count=N][,after=M]; count limits the fault to N "
                                  "replies (default: always), after lets M replies pass first.\n");
    for (const auto& k : kKinds)
        help +=
            QStringLiteral("  %1 - %2\n").arg(QLatin1String(k.name), -8).arg(QLatin1String(k.help));
    return help;
}

} // namespace sim
