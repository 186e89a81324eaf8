#pragma once

namespace tormel {

// tormel_vue --library [FOLDER...] [--format csv|json]: brings the index of
// sessions up to date and prints a row per session, without a display.
int libraryCommand(int argc, char* argv[]);

}  // namespace tormel
