#pragma once

namespace tk {

// Start-up: the main window on its database, the settings, the password
// gate, then the message loop. Returns the process exit code.
int runApplication(int argc, char *argv[]);

} // namespace tk
