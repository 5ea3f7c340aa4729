// What the RI1-R and ZI2-Z3 pages share beyond the frame: the units' text
// bytes (code page 866) and the lenient reading of numbers typed on a page.
#pragma once

#include <QChar>
#include <QString>
#include <QStringView>
#include <cstddef>
#include <cstdint>

namespace qv1 {

// A unit's text byte as a character: code page 866 letters; control codes,
// pseudographics and the codes from 0xF2 on become a blank.
QChar UnitTextChar(std::uint8_t b);
QString UnitText(const std::uint8_t* bytes, std::size_t count);

// Whole numbers typed on a page: leading blanks skipped, an optional sign,
// "$" or "0x" for hexadecimal, digits up to the first other character; an
// empty or non-numeric text is 0. Never fails; the caller cuts to its width.
std::int64_t ParseLenientInt(QStringView text);

} // namespace qv1
