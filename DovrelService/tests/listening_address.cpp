#include "listening_address.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace dovrel_test {

std::string ListeningAddress(uint16_t port)
{
  char wanted[8];
  std::snprintf(wanted, sizeof wanted, ":%04X", port);
  std::ifstream table("/proc/net/tcp");
  std::string line;
  std::getline(table, line);  // the column names
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state;
    fields >> slot >> local >> remote >> state;
    if (state == "0A" && local.size() > 5 && local.substr(local.size() - 5) == wanted) {
      return local.substr(0, local.size() - 5);
    }
  }
  return "";
}

}  // namespace dovrel_test
