#pragma once

#include "download/receive_rules.h"
#include "texts/text_tables.h"

#include <QString>

namespace tormel {

// Why the last listening session ended without an image, for the command
// line (in English, naming each line error and how often it came) and for
// the window (in the chosen language).
QString englishRefusalText(const ReceiveRules& rules);
QString refusalText(const ReceiveRules& rules, const TextTables& tables);

}  // namespace tormel
