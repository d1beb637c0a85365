#pragma once
// The serial ports the system has, for the port-settings dialog.

#include <string>
#include <vector>

namespace tarvel {

// Every /dev/ttyS*, /dev/ttyUSB* and /dev/ttyACM* that the kernel lists with a
// device behind it (sysfs), a ttyS only when its driver found a UART (its
// "type" is not 0), then the links in /dev/serial/by-id, each by its full
// path, in natural order. The roots are for tests.
std::vector<std::string> ListSerialPorts(const std::string& devRoot = "/dev",
                                         const std::string& sysRoot = "/sys");

}  // namespace tarvel
