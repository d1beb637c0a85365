#include "tools/bms-sim/Simulator.h"

#include <algorithm>
#include <random>

#include "tools/bms-sim/ModuleCommands.h"
#include "tools/bms-sim/ModuleRecords.h"

namespace tarvel::sim {

namespace {

constexpr uint8_t kDeviceText = 0x94;
constexpr uint8_t kAutoSend = 0x80;

// The same noise every run, so a failure can be replayed.
void AddFlood(Plan& plan, size_t count) {
    std::mt19937 noise(20240611);
    for (size_t done = 0; done < count; done += kFloodPiece) {
        Bytes piece(std::min(kFloodPiece, count - done));
        for (uint8_t& b : piece) b = static_cast<uint8_t>(noise() & 0xFF);
        plan.sends.push_back(Transmission{0, std::move(piece)});
    }
}

void ApplyFault(const Fault& fault, uint8_t address, Plan& plan, Bytes& reply, Transmission& first) {
    switch (fault.kind) {
        case FaultKind::Silent: reply.clear(); break;
        case FaultKind::DropOff:
            reply.clear();
            plan.dropLine = true;
            break;
        case FaultKind::Late: first.pauseMs += fault.ms; break;
        case FaultKind::WrongChecksum:
            if (!reply.empty()) reply.back() ^= 0x5A;
            break;
        case FaultKind::OtherAddress:
            if (!reply.empty()) reply[0] = fault.address;  // the address is not summed
            break;
        case FaultKind::NoiseBefore:
            first.bytes.insert(first.bytes.end(), fault.bytes.begin(), fault.bytes.end());
            break;
        case FaultKind::DeviceText:
            plan.sends.push_back(Transmission{0, Simulator::DeviceTextFrame(address, fault.text)});
            break;
        case FaultKind::AutoSend:
            plan.sends.push_back(Transmission{0, Simulator::AutoSendFrame(address, fault.bytes)});
            break;
        case FaultKind::Flood: AddFlood(plan, fault.floodBytes); break;
        // Applied when the reply is laid out.
        case FaultKind::Split:
        case FaultKind::Oversize:
        case FaultKind::Undersize:
        case FaultKind::CutShort:
        case FaultKind::WrongCode:
        case FaultKind::Duplicate:
        case FaultKind::Status:
        case FaultKind::Halt: break;
    }
}

const Fault* Find(const std::vector<Fault>& faults, FaultKind kind) {
    const Fault* found = nullptr;
    for (const Fault& fault : faults)
        if (fault.kind == kind) found = &fault;
    return found;
}

// Where a split or a cut falls: `at`, or half the frame when that is 0 or
// not inside it.
size_t CutPoint(size_t at, size_t size) { return at == 0 || at >= size ? size / 2 : at; }

}  // namespace

Simulator::Simulator(SimConfig config) : config_(std::move(config)) {
    for (uint8_t address : config_.addresses) {
        ModuleState m = ModuleState::Make(address, config_.shortKb);
        m.shortVersion = config_.shortVersion;
        modules_.emplace(address, std::move(m));
    }
    faults_.assign(config_.faults.begin(), config_.faults.end());
}

Bytes Simulator::DeviceTextFrame(uint8_t address, std::string_view text) {
    const Bytes data(text.begin(), text.end());
    return MakeReply(address, kDeviceText, 0, data);
}

Bytes Simulator::AutoSendFrame(uint8_t address, std::span<const uint8_t> data) {
    return MakeReply(address, kAutoSend, 0, data);
}

std::vector<Plan> Simulator::OnBytes(std::span<const uint8_t> bytes, uint32_t nowMs) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Plan> plans;
    for (const Request& request : reader_.Feed(bytes, nowMs)) {
        requests_.push_back(request.frame);
        Plan plan = Handle(request);
        if (!plan.sends.empty() || plan.dropLine) plans.push_back(std::move(plan));
    }
    return plans;
}

std::vector<Fault> Simulator::TakeFaults(uint8_t code, uint8_t address) {
    std::vector<Fault> taken;
    for (auto it = faults_.begin(); it != faults_.end();) {
        if ((it->command >= 0 && it->command != code) || (it->module >= 0 && it->module != address)) {
            ++it;
            continue;
        }
        taken.push_back(*it);
        if (it->times == 1) {
            it = faults_.erase(it);
            continue;
        }
        if (it->times > 1) --it->times;
        ++it;
    }
    return taken;
}

Plan Simulator::Handle(const Request& request) {
    // Which module answers: the addressed one; a query by serial number goes
    // to whichever module carries that number.
    SimReply reply = Silence();
    uint8_t from = request.address;
    const bool bySerial = !request.shortFrame && request.code == 0x03 && request.data.size() == 20;
    for (auto& [address, module] : modules_) {
        if (!bySerial && address != request.address) continue;
        reply = Answer(module, request);
        from = address;
        if (!reply.silent) break;
    }
    Plan plan;
    if (reply.silent) return plan;

    const std::vector<Fault> faults = TakeFaults(request.code, request.address);
    if (const Fault* status = Find(faults, FaultKind::Status)) reply.status = status->status;
    if (const Fault* code = Find(faults, FaultKind::WrongCode)) reply.code = code->code;
    Bytes frame = MakeReply(from, reply.code, reply.status, reply.data);
    const size_t length = frame.size() - 4;
    if (const Fault* over = Find(faults, FaultKind::Oversize)) frame = WithLength(frame, length + over->by);
    if (const Fault* under = Find(faults, FaultKind::Undersize))
        frame = WithLength(frame, under->by > length ? 0 : length - under->by);

    Transmission first;
    for (const Fault& fault : faults) ApplyFault(fault, from, plan, frame, first);
    if (frame.empty()) return plan;
    if (const Fault* cut = Find(faults, FaultKind::CutShort)) frame.resize(CutPoint(cut->at, frame.size()));

    if (const Fault* split = Find(faults, FaultKind::Split)) {
        const auto at = static_cast<std::ptrdiff_t>(CutPoint(split->at, frame.size()));
        first.bytes.insert(first.bytes.end(), frame.begin(), frame.begin() + at);
        plan.sends.push_back(std::move(first));
        plan.sends.push_back(Transmission{split->ms, Bytes(frame.begin() + at, frame.end())});
    } else {
        first.bytes.insert(first.bytes.end(), frame.begin(), frame.end());
        plan.sends.push_back(std::move(first));
    }
    if (const Fault* twice = Find(faults, FaultKind::Duplicate))
        plan.sends.push_back(Transmission{twice->ms, frame});
    // The further batches of a record download follow back to back, as the
    // firmware sends them, unless the module stops half-way.
    size_t following = reply.following.size();
    if (const Fault* halt = Find(faults, FaultKind::Halt))
        following = std::max<size_t>(1, CutPoint(halt->at, following + 1)) - 1;
    for (size_t i = 0; i < following; ++i)
        plan.sends.push_back(Transmission{0, MakeReply(from, reply.code, 0, reply.following[i])});
    return plan;
}

void Simulator::AddFault(Fault fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.push_back(std::move(fault));
}

std::vector<Bytes> Simulator::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void Simulator::ClearRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.clear();
}

uint64_t Simulator::DroppedBytes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reader_.Dropped();
}

bool Simulator::Serves(uint8_t address) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return modules_.count(address) != 0;
}

ModuleState Simulator::Module(uint8_t address) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = modules_.find(address);
    return it == modules_.end() ? ModuleState{} : it->second;
}

void Simulator::UpdateModule(uint8_t address, const std::function<void(ModuleState&)>& change) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = modules_.find(address);
    if (it != modules_.end()) change(it->second);
}

}  // namespace tarvel::sim
