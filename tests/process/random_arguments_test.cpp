// Random arguments of up to 255 bytes (any byte but NUL) against the model
// of the number syntax: msgcode must print the lookup for the number kept in
// 16 bits, or the invalid-argument line with the model's position.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/message_model.h"
#include "tests/support/number_model.h"
#include "tests/support/process_runner.h"

namespace {

// Mostly bytes that the syntax cares about, so that many texts are numbers
// or fail late; now and then any byte at all.
std::string RandomArgument(std::mt19937& random) {
  static const std::string interesting = " \t+-$xX%&0123456789abcdefABCDEFgG.";
  std::uniform_int_distribution<int> shape(0, 9);
  std::uniform_int_distribution<size_t> pick(0, interesting.size() - 1);
  std::uniform_int_distribution<int> anyByte(1, 255);
  const int kind = shape(random);
  size_t length = std::uniform_int_distribution<size_t>(0, kind == 0 ? 255 : 14)(random);
  std::string text;
  if (kind == 1) text = std::string(std::uniform_int_distribution<size_t>(0, 250)(random), ' ');
  while (text.size() < length) {
    text += shape(random) == 0 ? static_cast<char>(anyByte(random)) : interesting[pick(random)];
  }
  return text;
}

TEST(RandomArguments, AgreeWithTheNumberModel) {
  std::mt19937 random(20180207);
  for (int run = 0; run < 1500; ++run) {
    const std::string argument = RandomArgument(random);
    const std::string kept = argument.substr(0, 255);
    const ModelNumber number = ModelValSigned(2, kept);
    const std::string expected = number.Position != 0
                                     ? ExpectedInvalidOutput(number.Position)
                                     : ExpectedLookupOutput(static_cast<int16_t>(number.Value));
    const ProcessResult result = RunMsgcode({argument});
    ASSERT_EQ(result.Stdout, expected) << "argument: \"" << argument << "\"";
    ASSERT_EQ(result.ExitCode, number.Position != 0 ? 2 : 0) << "argument: \"" << argument << "\"";
    ASSERT_EQ(result.Stderr, "");
  }
}

}  // namespace
