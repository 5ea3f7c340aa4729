// The text console of the command line.
#pragma once

namespace platform {

// The command line writes UTF-8. A Windows console shows its own code page
// (866 for Russian) unless told otherwise; elsewhere the terminal already
// reads UTF-8.
void UseUtf8Console();

} // namespace platform
