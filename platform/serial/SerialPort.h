#pragma once
// One serial device on termios: opened exclusively and non-blocking, raw
// transfer, line settings that are checked after the driver took them.
// Reading, writing and waiting come from SerialStream; threads, chunking and
// events belong to the serial component above it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/serial/SerialStream.h"

namespace tarvel {

enum class SerialParity : uint8_t { None, Odd, Even, Mark, Space };
enum class SerialStopBits : uint8_t { One, OneAndHalf, Two };
enum class SerialDtr : uint8_t { Enable, Disable, Handshake };
enum class SerialRts : uint8_t { Enable, Disable, Handshake, Toggle };

struct SerialLineSettings {
    uint32_t baudRate = 9600;
    uint8_t dataBits = 8;  // 5 to 8
    SerialParity parity = SerialParity::None;
    SerialStopBits stopBits = SerialStopBits::One;
    bool parityCheck = false;
    bool ctsOutFlow = false;
    bool dsrOutFlow = false;  // no termios counterpart
    SerialDtr dtr = SerialDtr::Enable;
    bool dsrSensitivity = false;   // no termios counterpart
    bool txContinueOnXoff = true;  // no termios counterpart
    // Software flow control. Output XON/XOFF stays off in this tool: 0x11 and
    // 0x13 are data in frames, and the driver would swallow them.
    bool outXonXoff = false;
    bool inXonXoff = true;
    bool replaceOnParityError = false;  // the byte in error reads as 0
    bool ignoreNullChar = false;        // applied by the reader
    SerialRts rts = SerialRts::Enable;
    uint16_t xonLimit = 500;   // no termios counterpart
    uint16_t xoffLimit = 500;  // no termios counterpart
    uint8_t xonChar = 0x11;
    uint8_t xoffChar = 0x13;
    uint8_t replacedChar = 0x00;

    bool operator==(const SerialLineSettings&) const = default;
};

// The termios speed constant of a rate, or nullopt for a rate the driver
// interface has no constant for.
std::optional<uint32_t> BaudConstant(uint32_t baudRate);

class SerialPort : public SerialStream {
public:
    enum class OpenResult { Ok, CannotOpen, NotATerminal };

    SerialPort() = default;
    ~SerialPort() { Close(); }
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens the device for exclusive use (no second opener, in this process or
    // another); a device held by someone else gives CannotOpen. OpenError()
    // then holds the system's error number.
    OpenResult Open(const std::string& path);
    int OpenError() const { return openError_; }
    void Close();

    // Applies the settings; "" when the driver holds them afterwards, else
    // what it refused.
    std::string Apply(const SerialLineSettings& settings);
    void Purge(bool input, bool output);
    // Bytes the driver holds that nobody has read yet.
    size_t Pending() const;

    // Carrier detect and ring lines, when the device has modem lines.
    struct ModemLines {
        bool carrier = false;
        bool ring = false;
    };
    std::optional<ModemLines> ReadModemLines() const;
    // Line-error counts (frame, overrun, parity, break), when the driver keeps them.
    struct ErrorCounts {
        uint32_t frame = 0, overrun = 0, parity = 0, brk = 0, bufferOverrun = 0;
        bool operator==(const ErrorCounts&) const = default;
    };
    std::optional<ErrorCounts> ReadErrorCounts() const;

private:
    int openError_ = 0;
};

// Port names as the tool's settings hold them: "COMn" is /dev/ttyS(n-1), a
// name starting with "/" is a device path, any other name lives in /dev. The
// device-namespace prefix "//./" (or "\\.\") in front is dropped.
std::string ResolvePortName(std::string_view name);

// Why `path` could not be opened, from the system's error number: its text, or
// that another program holds the port; a refused permission adds the group
// that owns the device, which the user must join.
std::string OpenFailureReason(const std::string& path, int error);

}  // namespace tarvel
