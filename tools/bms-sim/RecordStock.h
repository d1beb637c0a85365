#pragma once
// How many records a simulated module keeps in flash. The defaults fill one
// reply each; tests stock more to get downloads of several replies.

#include <cstdint>

namespace tarvel::sim {

struct RecordStock {
    uint16_t alarms = 5;     // five to a reply
    uint16_t days = 40;      // forty to a reply
    uint16_t telemetry = 5;  // five to a reply
};

}  // namespace tarvel::sim
