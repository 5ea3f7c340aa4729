// Per-user folders of the program.
#pragma once

#include <QString>

namespace platform {

// $XDG_CONFIG_HOME/relcon4 (default ~/.config/relcon4), no trailing '/'.
QString ConfigFolder();
// $XDG_DATA_HOME/relcon4 (default ~/.local/share/relcon4), no trailing '/'.
QString DataFolder();
// The port map's explicit entries: symlinks named COM<n> pointing at devices.
QString PortsFolder();

} // namespace platform
