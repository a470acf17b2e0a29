#pragma once

#include "link/SerialPortScan.h"

#include <QString>
#include <vector>

// The ports command's table: a header, then one port a line.
QString PortsListText(const std::vector<SerialPortFacts> &ports);
