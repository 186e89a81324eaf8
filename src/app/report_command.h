#pragma once

namespace tormel {

// tormel_vue --report RECORD.Tml OUT.pdf: the session report of a record as
// the window would show it, without a display.
int reportCommand(int argc, char* argv[]);

}  // namespace tormel
