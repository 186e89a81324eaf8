#pragma once

#include "library/library_model.h"
#include "texts/text_tables.h"

#include <QString>

#include <vector>

namespace tormel {

// The season on paper, an A4 landscape PDF: for each track in number order,
// then the sessions that name none together, its bests with the sessions
// they came from, its season chart, each session's laps in the window and
// spread, and the table of its lap-timing sessions (date, laps, best lap,
// theoretical best, racing laps, window count, spread, driver, gearing).
// Times as the lap table writes them. Replaced whole or not at all; false
// and why on failure.
bool writeSeasonReport(const QString& path, const std::vector<LibraryRow>& rows, const TextTables& tables,
                       QString* errorText = nullptr);

}  // namespace tormel
