// A session manager for the tests, on the session library's server side: it
// listens, prints what its one client says on stdout (a line each) and
// sends what stdin asks for:
//   save <shutdown 0|1> <any|errors|none>   a save-yourself
//   die | cancel                            Die, ShutdownCancelled
//   garbage | stall                         bytes no manager sends, half a message
//   vanish                                  ends at once, saying nothing
// Printed: "address <network ids>" first, then "registered", "prop <name>
// <value>|<value>...", "interact-request", "interact-done <cancel>",
// "done <success>", "closed", "gone".

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

SmsConn gClient = nullptr;
IceConn gIce = nullptr;

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

Status RegisterClient(SmsConn conn, SmPointer, char*) {
    char* id = SmsGenerateClientID(conn);
    Status ok = SmsRegisterClientReply(conn, id ? id : const_cast<char*>("test-client"));
    std::free(id);
    Say("registered");
    return ok;
}
void InteractRequest(SmsConn conn, SmPointer, int) {
    Say("interact-request");
    SmsInteract(conn);
}
void InteractDone(SmsConn, SmPointer, Bool cancel) { Say("interact-done " + std::to_string(cancel ? 1 : 0)); }
void SaveYourselfRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}
void Phase2Request(SmsConn conn, SmPointer) { SmsSaveYourselfPhase2(conn); }
void SaveYourselfDone(SmsConn, SmPointer, Bool success) { Say("done " + std::to_string(success ? 1 : 0)); }
void CloseConnection(SmsConn conn, SmPointer, int count, char** reasons) {
    SmFreeReasons(count, reasons);
    IceConn ice = SmsGetIceConnection(conn);
    SmsCleanUp(conn);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
    gClient = nullptr;
    gIce = nullptr;
    Say("closed");
}
void SetProperties(SmsConn, SmPointer, int count, SmProp** props) {
    for (int i = 0; i < count; ++i) {
        std::string line = std::string("prop ") + props[i]->name + " ";
        for (int v = 0; v < props[i]->num_vals; ++v) {
            if (v) line += "|";
            line.append(static_cast<const char*>(props[i]->vals[v].value), props[i]->vals[v].length);
        }
        Say(line);
        SmFreeProperty(props[i]);
    }
    std::free(props);
}
void DeleteProperties(SmsConn, SmPointer, int count, char** names) {
    for (int i = 0; i < count; ++i) std::free(names[i]);
    std::free(names);
}
void GetProperties(SmsConn conn, SmPointer) { SmsReturnProperties(conn, 0, nullptr); }

Status NewClient(SmsConn conn, SmPointer, unsigned long* mask, SmsCallbacks* cb, char**) {
    gClient = conn;
    gIce = SmsGetIceConnection(conn);
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
            SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
            SmsGetPropertiesProcMask;
    cb->register_client.callback = RegisterClient;
    cb->interact_request.callback = InteractRequest;
    cb->interact_done.callback = InteractDone;
    cb->save_yourself_request.callback = SaveYourselfRequest;
    cb->save_yourself_phase2_request.callback = Phase2Request;
    cb->save_yourself_done.callback = SaveYourselfDone;
    cb->close_connection.callback = CloseConnection;
    cb->set_properties.callback = SetProperties;
    cb->delete_properties.callback = DeleteProperties;
    cb->get_properties.callback = GetProperties;
    return 1;
}

Bool AnyHost(char*) { return True; }

void IoError(IceConn) {}

void Command(const std::string& line) {
    std::istringstream in(line);
    std::string what;
    in >> what;
    if (what == "vanish") _exit(0);
    if (!gClient) return;
    if (what == "save") {
        int shutdown = 0;
        std::string style;
        in >> shutdown >> style;
        const int interact = style == "any"      ? SmInteractStyleAny
                             : style == "errors" ? SmInteractStyleErrors
                                                 : SmInteractStyleNone;
        SmsSaveYourself(gClient, SmSaveLocal, shutdown ? True : False, interact, False);
    } else if (what == "die") {
        SmsDie(gClient);
    } else if (what == "cancel") {
        SmsShutdownCancelled(gClient);
    } else if (what == "garbage" || what == "stall") {
        // A header with an opcode nobody has, or a header promising more
        // than ever comes.
        const unsigned char garbage[8] = {0xEE, 0x7F, 0, 0, 0, 0, 0, 0};
        const unsigned char stall[12] = {1, 1, 0, 0, 4, 0, 0, 0, 1, 2, 3, 4};
        const int fd = IceConnectionNumber(gIce);
        if (what == "garbage") {
            [[maybe_unused]] ssize_t n = write(fd, garbage, sizeof garbage);
        } else {
            [[maybe_unused]] ssize_t n = write(fd, stall, sizeof stall);
        }
    }
}

}  // namespace

int main() {
    char error[256] = "";
    IceSetIOErrorHandler(IoError);
    if (!SmsInitialize("tarvel-test", "1", NewClient, nullptr, AnyHost, sizeof error, error)) {
        std::fprintf(stderr, "SmsInitialize: %s\n", error);
        return 1;
    }
    int count = 0;
    IceListenObj* listeners = nullptr;
    if (!IceListenForConnections(&count, &listeners, sizeof error, error) || count == 0) {
        std::fprintf(stderr, "IceListenForConnections: %s\n", error);
        return 1;
    }
    for (int i = 0; i < count; ++i) IceSetHostBasedAuthProc(listeners[i], AnyHost);
    char* ids = IceComposeNetworkIdList(count, listeners);
    Say(std::string("address ") + ids);
    std::free(ids);
    std::string pending;
    std::vector<IceConn> conns, gone;
    for (;;) {
        std::vector<pollfd> fds{{0, POLLIN, 0}};
        for (int i = 0; i < count; ++i)
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        for (IceConn c : conns) fds.push_back({IceConnectionNumber(c), POLLIN, 0});
        if (poll(fds.data(), fds.size(), -1) < 0) continue;
        if (fds[0].revents) {
            char buffer[256];
            const ssize_t n = read(0, buffer, sizeof buffer);
            if (n <= 0) return 0;
            pending.append(buffer, static_cast<size_t>(n));
            for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
                Command(pending.substr(0, end));
                pending.erase(0, end + 1);
            }
        }
        for (int i = 0; i < count; ++i) {
            if (!fds[1 + i].revents) continue;
            IceAcceptStatus status;
            IceConn conn = IceAcceptConnection(listeners[i], &status);
            if (!conn) continue;
            IceConnectStatus state;
            while ((state = IceConnectionStatus(conn)) == IceConnectPending)
                if (IceProcessMessages(conn, nullptr, nullptr) == IceProcessMessagesIOError) break;
            if (state == IceConnectAccepted)
                conns.push_back(conn);
            else
                IceCloseConnection(conn);
        }
        for (size_t i = 1 + count; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            IceConn c = conns[i - 1 - count];
            const bool known = std::find(conns.begin(), conns.end(), c) != conns.end();
            if (!known) continue;
            const bool ours = c == gIce;
            if (IceProcessMessages(c, nullptr, nullptr) == IceProcessMessagesIOError) {
                if (ours && gClient) SmsCleanUp(gClient);
                IceSetShutdownNegotiation(c, False);
                IceCloseConnection(c);
                if (ours) {
                    gClient = nullptr;
                    gIce = nullptr;
                    Say("gone");
                }
                gone.push_back(c);
            } else if (ours && !gIce) {
                gone.push_back(c);  // closed by CloseConnection
            }
        }
        for (IceConn c : gone) conns.erase(std::remove(conns.begin(), conns.end(), c), conns.end());
        gone.clear();
    }
}
