#include "platform/serial/SerialPort.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <system_error>
#include <vector>

#include "platform/base/Strings.h"

namespace tarvel {

namespace {

struct BaudEntry {
    uint32_t rate;
    speed_t constant;
};

constexpr BaudEntry kBauds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

constexpr tcflag_t kCheckedCflags = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
constexpr tcflag_t kCheckedIflags = IXON | IXOFF | INPCK;

tcflag_t DataBitsFlag(uint8_t bits) {
    switch (bits) {
        case 5: return CS5;
        case 6: return CS6;
        case 7: return CS7;
        default: return CS8;
    }
}

tcflag_t ParityFlags(SerialParity parity) {
    switch (parity) {
        case SerialParity::None: return 0;
        case SerialParity::Odd: return PARENB | PARODD;
        case SerialParity::Even: return PARENB;
        case SerialParity::Mark: return PARENB | CMSPAR | PARODD;
        case SerialParity::Space: return PARENB | CMSPAR;
    }
    return 0;
}

void SetModemLine(int fd, int line, bool on) {
    // Lines without a modem (pseudo-terminals, some adapters) refuse; that is fine.
    (void)::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line);
}

}  // namespace

std::optional<uint32_t> BaudConstant(uint32_t baudRate) {
    for (const BaudEntry& e : kBauds)
        if (e.rate == baudRate) return e.constant;
    return std::nullopt;
}

SerialPort::OpenResult SerialPort::Open(const std::string& path) {
    Close();
    openError_ = 0;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        openError_ = errno;
        return OpenResult::CannotOpen;
    }
    if (!::isatty(fd)) {
        ::close(fd);
        return OpenResult::NotATerminal;
    }
    // TIOCEXCL keeps other openers out (but not root); the lock catches the rest.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        openError_ = errno;
        ::close(fd);
        return OpenResult::CannotOpen;
    }
    fd_ = fd;
    return OpenResult::Ok;
}

void SerialPort::Close() {
    if (fd_ < 0) return;
    (void)::ioctl(fd_, TIOCNXCL);  // the device may outlive us in another's hands
    ::close(fd_);
    fd_ = -1;
}

std::string SerialPort::Apply(const SerialLineSettings& s) {
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return "the line settings cannot be read";
    const auto speed = BaudConstant(s.baudRate);
    if (!speed) return "baud rate " + UIntToStr(s.baudRate) + " is not supported";
    if (s.dataBits < 5 || s.dataBits > 8) return "data bits " + UIntToStr(s.dataBits) + " are not supported";

    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(kCheckedCflags | HUPCL);
    tio.c_cflag |= CREAD | CLOCAL | DataBitsFlag(s.dataBits) | ParityFlags(s.parity);
    if (s.stopBits != SerialStopBits::One) tio.c_cflag |= CSTOPB;
    if (s.ctsOutFlow || s.rts == SerialRts::Handshake) tio.c_cflag |= CRTSCTS;
    tio.c_iflag &= ~(kCheckedIflags | IGNPAR | PARMRK | IGNBRK | BRKINT);
    if (s.parityCheck) tio.c_iflag |= INPCK;
    if (s.parityCheck && !s.replaceOnParityError) tio.c_iflag |= IGNPAR;
    if (s.outXonXoff) tio.c_iflag |= IXON;
    if (s.inXonXoff) tio.c_iflag |= IXOFF;
    tio.c_cc[VSTART] = s.xonChar;
    tio.c_cc[VSTOP] = s.xoffChar;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, *speed);
    ::cfsetospeed(&tio, *speed);
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return "the driver refused the line settings";

    // tcsetattr succeeds when any part was taken: check what the driver holds.
    termios held{};
    if (::tcgetattr(fd_, &held) != 0) return "the line settings cannot be read";
    if (::cfgetospeed(&held) != *speed) return "baud rate " + UIntToStr(s.baudRate) + " is not supported";
    if ((held.c_cflag & kCheckedCflags) != (tio.c_cflag & kCheckedCflags))
        return "the driver refused the data format";
    if ((held.c_iflag & kCheckedIflags) != (tio.c_iflag & kCheckedIflags))
        return "the driver refused the flow control";

    if (s.dtr != SerialDtr::Handshake) SetModemLine(fd_, TIOCM_DTR, s.dtr == SerialDtr::Enable);
    if (s.rts == SerialRts::Enable || s.rts == SerialRts::Disable)
        SetModemLine(fd_, TIOCM_RTS, s.rts == SerialRts::Enable);
    return "";
}

size_t SerialPort::Pending() const {
    int count = 0;
    if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &count) != 0 || count < 0) return 0;
    return static_cast<size_t>(count);
}

void SerialPort::Purge(bool input, bool output) {
    if (fd_ < 0) return;
    if (input && output) {
        ::tcflush(fd_, TCIOFLUSH);
    } else if (input) {
        ::tcflush(fd_, TCIFLUSH);
    } else if (output) {
        ::tcflush(fd_, TCOFLUSH);
    }
}

std::optional<SerialPort::ModemLines> SerialPort::ReadModemLines() const {
    int lines = 0;
    if (fd_ < 0 || ::ioctl(fd_, TIOCMGET, &lines) != 0) return std::nullopt;
    return ModemLines{(lines & TIOCM_CAR) != 0, (lines & TIOCM_RNG) != 0};
}

std::optional<SerialPort::ErrorCounts> SerialPort::ReadErrorCounts() const {
    serial_icounter_struct counts{};
    if (fd_ < 0 || ::ioctl(fd_, TIOCGICOUNT, &counts) != 0) return std::nullopt;
    return ErrorCounts{static_cast<uint32_t>(counts.frame), static_cast<uint32_t>(counts.overrun),
                       static_cast<uint32_t>(counts.parity), static_cast<uint32_t>(counts.brk),
                       static_cast<uint32_t>(counts.buf_overrun)};
}

std::string OpenFailureReason(const std::string& path, int error) {
    // The lock of another opener, or the exclusive mode of the device.
    if (error == EWOULDBLOCK || error == EBUSY) return "it is in use by another program";
    std::string reason = std::generic_category().message(error);
    if (error != EACCES && error != EPERM) return reason;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return reason;
    std::string group = UIntToStr(st.st_gid);
    {
        std::vector<char> buffer(4096);
        struct group entry {};
        struct group* found = nullptr;
        if (::getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
            group = found->gr_name;
    }
    return reason + "; the user must be in the group \"" + group +
           "\" that owns the device (then log in again)";
}

std::string ResolvePortName(std::string_view name) {
    for (std::string_view prefix : {"//./", "\\\\.\\"}) {
        if (name.substr(0, prefix.size()) == prefix) {
            name.remove_prefix(prefix.size());
            break;
        }
    }
    if (!name.empty() && name[0] == '/') return std::string(name);
    if (name.size() > 3 && SameText(name.substr(0, 3), "COM")) {
        int32_t n = 0;
        const std::string_view digits = name.substr(3);
        bool allDigits = true;
        for (char c : digits) allDigits = allDigits && std::isdigit(static_cast<unsigned char>(c));
        if (allDigits && digits.size() <= 6 && TryStrToInt(digits, n) && n >= 1)
            return "/dev/ttyS" + IntToStr(n - 1);
    }
    return "/dev/" + std::string(name);
}

}  // namespace tarvel
