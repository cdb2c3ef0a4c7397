#pragma once

#include <optional>
#include <string>
#include <vector>

// The port named on the command line for when a port configuration file cannot
// be read: "-1" … "-9" as the first or second argument chooses "COM1" … "COM9";
// of two such arguments the higher number wins.
std::optional<std::string> PortFromArguments(const std::vector<std::string>& args);
