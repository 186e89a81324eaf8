#pragma once

namespace tormel {

// tormel_vue --receive OUT.Tml [--port N] [--timeout SECONDS]: one download
// without the window, through the same receiver and acceptance rule as
// Start Scan. Exit 0 when an image was accepted and written to OUT.
int receiveCommand(int argc, char* argv[]);

}  // namespace tormel
