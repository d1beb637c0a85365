#pragma once
// The main window's monitoring features against the simulated module: the
// window linked and logged in, the features bound, the "ADC" folder made as
// the start-up makes it, and the periodic jobs driven by the test clock
// while the module's replies come back in real time.

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "tests/app/LinkFixture.h"

namespace tarvel::testing {

class MonitoringTest : public LinkTest {
protected:
    TMainForm* StartMonitoring() {
        std::filesystem::create_directories(folder_.Path() / "ADC");
        std::filesystem::create_directories(folder_.Path() / "DataAccess");
        TMainForm* form = StartLinked();
        form->BindMonitoringHandlers();
        return form;
    }

    // The requests of `code` the module has received.
    size_t RequestsOf(uint8_t code) {
        const std::vector<Bytes> requests = Module().Requests();
        return static_cast<size_t>(std::count_if(requests.begin(), requests.end(), [code](const Bytes& r) {
            return r.size() > 4 && r[4] == code;
        }));
    }

    // Moves the test clock on by `ms` in 10 ms steps and gives the times at
    // which a step sent a request of `code`. Each is answered before the
    // clock goes on, as a module on the line answers long before the next
    // tick.
    std::vector<uint32_t> RunClock(uint32_t ms, uint8_t code) {
        std::vector<uint32_t> sentAt;
        for (uint32_t t = 10; t <= ms; t += 10) {
            ui_.AdvanceClock(10, 10);
            if (LastCommand != code) continue;
            sentAt.push_back(t);
            EXPECT_TRUE(WaitUntil([] { return LastCommand == 0; }))
                << "the request at " << t << " ms was not answered";
        }
        return sentAt;
    }

    String EditText(const char* name) { return ui_.Find<TTeEdit>(form_, name)->GetText(); }
};

}  // namespace tarvel::testing
