#include "config/port_fallback.h"

std::optional<std::string> PortFromArguments(const std::vector<std::string>& args) {
  std::optional<std::string> port;
  for (char n = '1'; n <= '9'; ++n) {
    const std::string wanted{'-', n};
    for (std::size_t i = 0; i < args.size() && i < 2; ++i) {
      if (args[i] == wanted) port = std::string("COM") + n;
    }
  }
  return port;
}
