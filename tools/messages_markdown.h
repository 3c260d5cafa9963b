// The message reference as a Markdown document: the rows side by side, the
// fallback texts and the number of entries of each table.
#pragma once

#include <string>
#include <vector>

#include "tools/message_rows.h"

// Throws std::invalid_argument when a text cannot be shown exactly.
std::string MessagesMarkdown(const std::vector<MessageRow>& rows);
