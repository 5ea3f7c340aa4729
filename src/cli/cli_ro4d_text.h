// What relcon4-cli prints for the RO-4D lives in the core, where the archive
// shows a record with the same names and units.
#pragma once

#include "devices/qv4m/ro4d_text.h"
