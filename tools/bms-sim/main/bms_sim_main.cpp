// bms-sim: simulated battery modules on a pseudo-terminal.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "platform/base/Strings.h"
#include "tools/bms-sim/SimLink.h"

using namespace tarvel;
using namespace tarvel::sim;

namespace {

volatile std::sig_atomic_t gStop = 0;
void OnSignal(int) { gStop = 1; }

const char kHelp[] =
    "Usage: bms-sim [options]\n"
    "Simulated battery modules on a pseudo-terminal. Prints the device path to open\n"
    "and serves until interrupted.\n"
    "\n"
    "  --link PATH       also make a symlink at PATH to the device (replaced if it exists)\n"
    "  --address N       serve one module at address N (0..63; default 0)\n"
    "  --parallel LIST   serve a parallel system at addresses 1..64, e.g. 1-8 or 1,3,5-7\n"
    "  --baud N          pace replies at N baud in real wire time (default 9600; 0 = at once)\n"
    "  --short-version   answer the version query with the short layout (10 data bytes)\n"
    "  --short-kb        keep the calibration block in the short layout (58 bytes)\n"
    "  --fault SPEC      misbehave, repeatable; SPEC is kind[:key=value,...]\n"
    "                    kinds: silent, late, bad-sum, other-address, split, noise,\n"
    "                           text (unprompted 0x94), auto (unprompted 0x80), drop,\n"
    "                           oversize, undersize (Length off by `by`; the frame is\n"
    "                             padded or cut to match that Length, its sum right),\n"
    "                           cut (only the first `at` bytes ever sent),\n"
    "                           wrong-code, duplicate, status,\n"
    "                           halt (a record download stops after `at` replies),\n"
    "                           flood (random noise before the reply; use --baud 0 for\n"
    "                             large floods: 64 KiB take over a minute at 9600)\n"
    "                    keys:  cmd (request code it waits for; default any),\n"
    "                           module (request address it waits for; default any:\n"
    "                             one module of a parallel system misbehaves),\n"
    "                           times (replies it touches; 0 = all; default 1),\n"
    "                           ms (late: delay; split, duplicate: pause),\n"
    "                           at (split: first part; cut: bytes kept;\n"
    "                             halt: replies sent; 0 = half),\n"
    "                           addr (other-address), by (oversize, undersize; 1),\n"
    "                           code (wrong-code; 0x9B), status (status; 7),\n"
    "                           text (text), bytes (noise, auto: hex digits;\n"
    "                             flood: a count, default 65536, sent 1024 at a time)\n"
    "                    e.g. --fault late:cmd=0x03,ms=600 --fault split:times=0,ms=150\n"
    "                         --fault status:cmd=0x06,status=7 --fault cut:at=20\n"
    "                         --fault oversize:cmd=3,by=2 --fault duplicate:ms=150\n"
    "                         --fault wrong-code:code=0x84 --fault flood:bytes=65536\n"
    "                         --parallel 1-8 --fault silent:module=3,times=0\n"
    "  --quiet           do not print the requests received\n"
    "  --help            show this text\n"
    "\n"
    "Telemetry (0x03) and the parameter read (0x15) are answered without a login;\n"
    "every other command wants a login (0x01) first and is refused with status 255.\n";

bool ParseAddresses(const std::string& list, std::vector<uint8_t>& out) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        const std::string item = list.substr(start, end - start);
        const size_t dash = item.find('-');
        int32_t from = 0, to = 0;
        if (!TryStrToInt(item.substr(0, dash), from)) return false;
        to = from;
        if (dash != std::string::npos && !TryStrToInt(item.substr(dash + 1), to)) return false;
        if (from < 1 || to > 64 || from > to) return false;
        for (int32_t a = from; a <= to; ++a) out.push_back(static_cast<uint8_t>(a));
        start = end + 1;
    }
    return !out.empty();
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "bms-sim: %s\n%s", message.c_str(), "Try 'bms-sim --help'.\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    SimConfig config;
    config.baud = 9600;
    std::string linkPath;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (arg == "--quiet") {
            quiet = true;
        } else if (arg == "--short-version") {
            config.shortVersion = true;
        } else if (arg == "--short-kb") {
            config.shortKb = true;
        } else if (arg == "--link") {
            const char* v = value();
            if (!v) return Fail("--link needs a path");
            linkPath = v;
        } else if (arg == "--address") {
            const char* v = value();
            int32_t a = 0;
            if (!v || !TryStrToInt(v, a) || a < 0 || a > 63) return Fail("--address needs a number 0..63");
            config.addresses = {static_cast<uint8_t>(a)};
        } else if (arg == "--parallel") {
            const char* v = value();
            std::vector<uint8_t> addresses;
            if (!v || !ParseAddresses(v, addresses))
                return Fail("--parallel needs addresses 1..64 like 1-8 or 1,3");
            config.addresses = addresses;
        } else if (arg == "--baud") {
            const char* v = value();
            int32_t b = 0;
            if (!v || !TryStrToInt(v, b) || b < 0 || b > 4'000'000)
                return Fail("--baud needs a rate 0..4000000");
            config.baud = static_cast<uint32_t>(b);
        } else if (arg == "--fault") {
            const char* v = value();
            if (!v) return Fail("--fault needs a spec");
            std::string error;
            const auto fault = ParseFault(v, error);
            if (!fault) return Fail("--fault " + std::string(v) + ": " + error);
            config.faults.push_back(*fault);
        } else {
            return Fail("unknown option " + arg);
        }
    }

    SimLink link(config);
    if (!quiet) {
        link.onRequest = [](const Bytes& request) {
            std::string text;
            for (uint8_t b : request) text += IntToHex(b, 2) + " ";
            std::printf("<- %s\n", text.c_str());
            std::fflush(stdout);
        };
    }
    if (!link.Start(linkPath)) return Fail(link.Error());
    std::string modules;
    for (uint8_t a : config.addresses) modules += (modules.empty() ? "" : ",") + UIntToStr(a);
    std::printf("%s\n", link.DevicePath().c_str());
    if (!linkPath.empty()) std::printf("link %s -> %s\n", linkPath.c_str(), link.DevicePath().c_str());
    std::printf("serving module address %s at %u baud\n", modules.c_str(), config.baud);
    std::fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    while (!gStop && !link.LineDropped()) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    link.Stop();
    return 0;
}
