// A platform for unit tests: it records every write instead of making it,
// and can be told to fail or shorten writes and to pose as a console.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "runtime/platform/platform.h"

struct FakeWrite {
  PlatformHandle Handle;
  std::string Bytes;
};

struct FakePlatformState {
  std::vector<FakeWrite> Writes;  // every write call, in order
  int FailWritesFrom = -1;        // index of the first write call that fails; -1: none
  int32_t ShortenWritesBy = 0;    // bytes reported missing from each successful write
  bool Console = false;           // whether handles pose as a console
  uint32_t ConsoleCodePage = 437;
};

extern FakePlatformState FakePlatform;

// Back to a platform that records and accepts every write.
void ResetFakePlatform();
