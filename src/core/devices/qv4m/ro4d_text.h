// The RO-4D for a person to read: the parameter set of a read with the
// pages' names and units, and the error bits, as text or JSON. The command
// line prints them; the archive shows a record's configuration with them.
#pragma once

#include "devices/qv4m/ro4d_service.h"

#include <QString>

QString Ro4dImageText(const TRo4dUnitImage& image);
QString Ro4dImageJson(const TRo4dUnitImage& image);
QString Ro4dErrorsText(const TRo4dErrors& errors);
QString Ro4dErrorsJson(const TRo4dErrors& errors);
