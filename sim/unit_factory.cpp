#include "unit_factory.h"

#include "ri1r_unit.h"
#include "ro4d_unit.h"
#include "zi2z3_unit.h"

namespace sim {

namespace {
std::unique_ptr<SimUnit> fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return nullptr;
}
} // namespace

QStringList UnitKinds() {
    return {QStringLiteral("ro4d"), QStringLiteral("ri1r"), QStringLiteral("zi2z3")};
}

std::unique_ptr<SimUnit> MakeUnit(const UnitOptions& options, QString* error) {
    std::unique_ptr<SimUnit> unit;
    const QString kind = options.kind.toLower();
    if (kind == QLatin1String("ro4d")) {
        if (options.board != 1 && options.board != 2)
            return fail(error, QStringLiteral("the board generation is 1 or 2"));
        unit = std::make_unique<Ro4dUnit>(options.board == 2 ? Ro4dBoard::V2 : Ro4dBoard::V1);
    } else if (kind == QLatin1String("ri1r")) {
        auto ri1r = std::make_unique<Ri1rUnit>();
        if (!options.releaseDate.isEmpty() && !ri1r->setReleaseDate(options.releaseDate))
            return fail(error, QStringLiteral("the release date is dd.mm.yy"));
        if (options.mode < 1 || options.mode > Ri1rUnit::kModes)
            return fail(error, QStringLiteral("the mode is 1..7"));
        ri1r->setCurrentMode(options.mode - 1);
        unit = std::move(ri1r);
    } else if (kind == QLatin1String("zi2z3")) {
        unit = std::make_unique<Zi2z3Unit>();
    } else {
        return fail(error, QStringLiteral("unknown unit \"%1\" (%2)")
                               .arg(options.kind, UnitKinds().join(QStringLiteral(", "))));
    }
    for (const QString& text : options.faults) {
        QString why;
        const auto fault = ParseFault(text, &why);
        if (!fault)
            return fail(error, why);
        unit->faults().add(*fault);
    }
    return unit;
}

} // namespace sim
