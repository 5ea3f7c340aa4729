// What relcon4-cli prints for the RO-4D: the parameter set of a read with
// names and units, and the error bits, as text or JSON.
#pragma once

#include "devices/qv4m/ro4d_service.h"

#include <QString>

QString Ro4dImageText(const TRo4dUnitImage& image);
QString Ro4dImageJson(const TRo4dUnitImage& image);
QString Ro4dErrorsText(const TRo4dErrors& errors);
QString Ro4dErrorsJson(const TRo4dErrors& errors);
