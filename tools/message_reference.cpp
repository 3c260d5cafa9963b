// message_reference: writes docs/messages.md from msgcode's own message
// tables, to the file named by its argument or to standard output.
#include <exception>
#include <fstream>
#include <iostream>

#include "tools/message_rows.h"
#include "tools/messages_markdown.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::cerr << "usage: message_reference [OUTPUT]\n";
    return 1;
  }
  try {
    const std::string document = MessagesMarkdown(CollectMessageRows());
    if (argc == 1) {
      std::cout << document << std::flush;
      return std::cout ? 0 : 1;
    }
    std::ofstream file(argv[1], std::ios::binary);
    file << document << std::flush;
    if (!file) {
      std::cerr << "message_reference: cannot write " << argv[1] << "\n";
      return 1;
    }
  } catch (const std::exception& error) {
    std::cerr << "message_reference: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
