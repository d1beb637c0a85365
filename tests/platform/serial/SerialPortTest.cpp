#include "platform/serial/SerialPort.h"

#include <grp.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/serial/PortList.h"
#include "platform/serial/PseudoTerminal.h"

namespace tarvel {
namespace {

TEST(ResolvePortName, ComNamesDevicePathsAndPlainNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"COM1", "/dev/ttyS0"},
        {"//./COM3", "/dev/ttyS2"},
        {"\\\\.\\COM12", "/dev/ttyS11"},
        {"com2", "/dev/ttyS1"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"//.//dev/serial/by-id/usb-Adapter_123-if00-port0", "/dev/serial/by-id/usb-Adapter_123-if00-port0"},
        {"ttyACM1", "/dev/ttyACM1"},
        {"COM0", "/dev/COM0"},
        {"COMX", "/dev/COMX"},
        {"COM99999999", "/dev/COM99999999"},
    };
    for (const auto& [name, path] : cases) EXPECT_EQ(ResolvePortName(name), path) << name;
}

TEST(ListSerialPorts, RealDevicesThenStableLinksInNaturalOrder) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("ports-" + std::to_string(::getpid()));
    const fs::path dev = root / "dev", sys = root / "sys" / "class" / "tty";
    fs::create_directories(dev);
    for (const char* name :
         {"ttyS0", "ttyS1", "ttyS10", "ttyS2", "ttyUSB0", "ttyACM0", "tty1", "ttyUSBx", "ttyS3"}) {
        fs::create_directories(sys / name);
        std::ofstream(dev.string() + "/" + name).flush();
    }
    for (const char* name : {"ttyS1", "ttyS10", "ttyS2", "ttyS3", "ttyUSB0", "ttyACM0", "tty1", "ttyUSBx"})
        fs::create_directories(sys / name / "device");
    // The UART types the driver found: ttyS3 has no chip behind it.
    const std::pair<const char*, const char*> types[] = {
        {"ttyS1", "4\n"}, {"ttyS10", "4\n"}, {"ttyS2", "14\n"}, {"ttyS3", "0\n"}, {"ttyS0", "4\n"}};
    for (const auto& [name, type] : types) std::ofstream(sys / name / "type") << type;
    fs::create_directories(sys / "ttyS5" / "device");  // no node in /dev
    fs::create_directories(dev / "serial" / "by-id");
    std::ofstream((dev / "serial" / "by-id" / "usb-Adapter_0042-if00-port0").string()).flush();

    const std::vector<std::string> want = {
        (dev / "ttyACM0").string(), (dev / "ttyS1").string(),
        (dev / "ttyS2").string(),   (dev / "ttyS10").string(),
        (dev / "ttyUSB0").string(), (dev / "serial" / "by-id" / "usb-Adapter_0042-if00-port0").string(),
    };
    EXPECT_EQ(ListSerialPorts(dev.string(), (root / "sys").string()), want);
    EXPECT_TRUE(ListSerialPorts((root / "none").string(), (root / "none").string()).empty());
    fs::remove_all(root);
}

TEST(OpenFailureReason, TheSystemsReasonAndForARefusalTheGroupToJoin) {
    namespace fs = std::filesystem;
    const fs::path device = fs::temp_directory_path() / ("tty-" + std::to_string(::getpid()));
    std::ofstream(device.string()).flush();
    const group* owner = ::getgrnam("dialout");
    const gid_t gid = owner ? owner->gr_gid : 0;
    const std::string name = owner ? "dialout" : "root";
    ASSERT_EQ(::chown(device.c_str(), static_cast<uid_t>(-1), gid), 0);
    const std::pair<int, std::string> cases[] = {
        {EACCES, "Permission denied; the user must be in the group \"" + name +
                     "\" that owns the device (then log in again)"},
        {ENOENT, "No such file or directory"},
        {EWOULDBLOCK, "it is in use by another program"},
        {EIO, "Input/output error"},
    };
    for (const auto& [error, reason] : cases) EXPECT_EQ(OpenFailureReason(device.string(), error), reason);
    fs::remove(device);
    // A device that is gone names no group.
    EXPECT_EQ(OpenFailureReason(device.string(), EACCES), "Permission denied");
}

TEST(SerialPort, AppliesAndChecksLineSettings) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Open());
    SerialPort port;
    ASSERT_EQ(port.Open(pty.SlavePath()), SerialPort::OpenResult::Ok);

    SerialLineSettings s;
    s.baudRate = 115200;
    s.stopBits = SerialStopBits::Two;
    s.parityCheck = true;
    s.ctsOutFlow = true;
    s.inXonXoff = false;
    ASSERT_EQ(port.Apply(s), "");
    termios tio{};
    ASSERT_EQ(::tcgetattr(pty.MasterFd(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B115200));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CSTOPB | CRTSCTS));
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | INPCK), static_cast<tcflag_t>(INPCK));

    // A pseudo-terminal takes 8 bits without parity only: what it drops is a refusal.
    SerialLineSettings sevenEven = s;
    sevenEven.dataBits = 7;
    sevenEven.parity = SerialParity::Even;
    EXPECT_EQ(port.Apply(sevenEven).rfind("the driver refused the ", 0), 0u);

    s.baudRate = 250;
    EXPECT_EQ(port.Apply(s), "baud rate 250 is not supported");
    s.baudRate = 9600;
    s.dataBits = 9;
    EXPECT_EQ(port.Apply(s), "data bits 9 are not supported");
    EXPECT_EQ(BaudConstant(9600), std::optional<uint32_t>(B9600));
    EXPECT_FALSE(BaudConstant(12345));
}

TEST(SerialPort, OpensOnlyTerminalsAndOnlyOnce) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.Open());
    SerialPort first, second, file;
    EXPECT_EQ(first.Open(pty.SlavePath()), SerialPort::OpenResult::Ok);
    EXPECT_EQ(second.Open(pty.SlavePath()), SerialPort::OpenResult::CannotOpen);
    first.Close();
    EXPECT_EQ(second.Open(pty.SlavePath()), SerialPort::OpenResult::Ok);
    EXPECT_EQ(file.Open("/dev/null"), SerialPort::OpenResult::NotATerminal);
    EXPECT_EQ(file.Open("/nonexistent/tty"), SerialPort::OpenResult::CannotOpen);
    EXPECT_FALSE(file.IsOpen());
}

}  // namespace
}  // namespace tarvel
