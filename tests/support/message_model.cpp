#include "tests/support/message_model.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/support/process_runner.h"

const char* const ModelFallbackTexts[4] = {
    "\rCannot find a compiler ver. 5.5 error for this code",
    "\rCannot find a compiler ver. 6.0 error for this code",
    "\rCannot find a runtime ver. 5.5 error for this code",
    "\rCannot find a runtime ver. 6.0 error for this code",
};

const MessageModel& LoadMessageModel() {
  static const MessageModel model = [] {
    static const char* const names[4] = {"tp55-compiler", "tp60-compiler", "tp55-runtime",
                                         "tp60-runtime"};
    MessageModel loaded;
    std::istringstream lines(ReadFixture("messages.tsv"));
    std::string line;
    while (std::getline(lines, line)) {
      if (line.empty() || line[0] == '#') continue;
      const size_t tab1 = line.find('\t');
      const size_t tab2 = line.find('\t', tab1 + 1);
      const std::string name = line.substr(0, tab1);
      const int code = std::stoi(line.substr(tab1 + 1, tab2 - tab1 - 1));
      int table = 0;
      while (table < 4 && name != names[table]) ++table;
      if (table == 4) throw std::runtime_error("unknown table " + name);
      loaded.Tables[table][code] = line.substr(tab2 + 1);
    }
    return loaded;
  }();
  return model;
}

std::string ExpectedMessage(int table, int16_t code) {
  const auto& entries = LoadMessageModel().Tables[table];
  const auto found = entries.find(code);
  return found != entries.end() ? found->second : ModelFallbackTexts[table];
}

std::string ExpectedLookupOutput(int16_t code) {
  static const char* const headings[4] = {"TP 5.5 COMPILER ERROR ", "TP 6.0 COMPILER ERROR ",
                                          "TP 5.5 RUNTIME ERROR ", "TP 6.0 RUNTIME ERROR "};
  std::string out;
  for (int table = 0; table < 4; ++table) {
    if (table == 2) out += std::string(51, '\xC4') + "\r\n";
    out += headings[table] + std::to_string(code) + ": " + ExpectedMessage(table, code) + "\r\n";
  }
  return out;
}

std::string ExpectedInvalidOutput(int position) {
  return "Invalid <error code> at position: " + std::to_string(position) + "\r\n";
}
