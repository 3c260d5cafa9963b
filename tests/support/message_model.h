// The output msgcode is expected to give, built from the message tables as
// written out in tests/fixtures/messages.tsv.
#pragma once

#include <stdint.h>

#include <map>
#include <string>

struct MessageModel {
  std::map<int, std::string> Tables[4];  // 5.5 compiler, 6.0 compiler, 5.5 run-time, 6.0 run-time
};

const MessageModel& LoadMessageModel();

extern const char* const ModelFallbackTexts[4];

// The message part of the line for `code` in table `table` (0 to 3).
std::string ExpectedMessage(int table, int16_t code);

// The whole standard output of a lookup of `code` (already kept in 16 bits).
std::string ExpectedLookupOutput(int16_t code);

// The whole standard output for an argument that stops at `position`.
std::string ExpectedInvalidOutput(int position);
