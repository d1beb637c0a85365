#include "tools/bms-sim/Simulator.h"

#include "tools/bms-sim/ModuleCommands.h"
#include "tools/bms-sim/ModuleRecords.h"

namespace tarvel::sim {

namespace {

constexpr uint8_t kDeviceText = 0x94;
constexpr uint8_t kAutoSend = 0x80;

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
        case FaultKind::Split: break;  // applied when the reply is laid out
    }
}

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

std::vector<Fault> Simulator::TakeFaults(uint8_t code) {
    std::vector<Fault> taken;
    for (auto it = faults_.begin(); it != faults_.end();) {
        if (it->command >= 0 && it->command != code) {
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

    Bytes frame = MakeReply(from, reply.code, reply.status, reply.data);
    Transmission first;
    const std::vector<Fault> faults = TakeFaults(request.code);
    for (const Fault& fault : faults) ApplyFault(fault, from, plan, frame, first);
    if (frame.empty()) return plan;

    const Fault* split = nullptr;
    for (const Fault& fault : faults)
        if (fault.kind == FaultKind::Split) split = &fault;
    if (split == nullptr) {
        first.bytes.insert(first.bytes.end(), frame.begin(), frame.end());
        plan.sends.push_back(std::move(first));
    } else {
        const size_t at = split->at == 0 || split->at >= frame.size() ? frame.size() / 2 : split->at;
        first.bytes.insert(first.bytes.end(), frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(at));
        plan.sends.push_back(std::move(first));
        plan.sends.push_back(
            Transmission{split->ms, Bytes(frame.begin() + static_cast<std::ptrdiff_t>(at), frame.end())});
    }
    // The further batches of a record download, each after a pause.
    for (const Bytes& data : reply.following) {
        plan.sends.push_back(Transmission{kBatchPauseMs, MakeReply(from, reply.code, 0, data)});
    }
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
