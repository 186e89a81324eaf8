#pragma once

#include <QString>

#include <optional>

namespace tormel {

// A lap named on the command line: RECORD, or RECORD:N for its lap N. A
// final ":N" counts only when RECORD itself is no file, so that a record
// whose name ends so is still found.
struct LapArgument {
    QString record;
    std::optional<int> lap;  // none: the record's best lap
};
LapArgument lapArgument(const QString& argument);

// tormel_vue --compare RECORD[:N]... --report OUT.pdf: the comparison of
// two to six laps, the first the reference, written as its report without
// a display.
int compareCommand(int argc, char* argv[]);

}  // namespace tormel
