// The one seam of the exchange's waits: the windows need their events served
// in the middle of an exchange (on by default); the command line has none to
// serve and turns it off, so its waits are plain sleeps.
#pragma once

namespace platform {

// platform::PumpMessages() does nothing while this is off.
void SetEventPumping(bool on);

} // namespace platform
