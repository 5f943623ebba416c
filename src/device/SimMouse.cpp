#include "device/SimMouse.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <optional>

namespace orb
{

namespace
{
constexpr std::uint8_t kRefused = 0xEE;
} // namespace

bool SimMouse::setFeature(const std::uint8_t* buf, std::size_t len)
{
    int count;
    {
        std::lock_guard lock(mutex_);
        if (len < 8)
            return false;
        std::array<std::uint8_t, 8> req;
        std::memcpy(req.data(), buf, 8);
        traffic_.push_back({true, req});
        handle(req);
        pendingPolls_ = config.pollsBeforeAnswer;
        count = ++commands_;
    }
    if (onCommand)
        onCommand(count);
    return true;
}

bool SimMouse::getFeature(std::uint8_t* buf, std::size_t len)
{
    std::lock_guard lock(mutex_);
    if (len < 8 || config.failGets)
        return false;
    std::array<std::uint8_t, 8> out{4, 0, 0, 0, 0, 0, 0, 0};
    if (pendingPolls_ > 0)
        --pendingPolls_;
    else
        out = reply_;
    std::memcpy(buf, out.data(), config.shortGets ? 4 : 8);
    traffic_.push_back({false, out});
    return true;
}

void SimMouse::handle(const std::array<std::uint8_t, 8>& req)
{
    auto ack = [&] {
        reply_ = req;
        reply_[7] = 0xCC;
    };
    auto refuse = [&] {
        reply_ = req;
        reply_[7] = kRefused;
    };
    if (config.silent) {
        reply_ = {4, 0, 0, 0, 0, 0, 0, 0};
        return;
    }
    if (config.refuseWith != 0 && config.refusals != 0) {
        if (config.refusals > 0)
            --config.refusals;
        reply_ = req;
        reply_[7] = config.refuseWith;
        return;
    }
    const std::uint8_t cmd = req[1];
    const bool memoryCommand = cmd >= 4 && cmd <= 7;
    if (memoryCommand && config.strictExchange && !exchange_)
        return refuse();
    switch (cmd) {
    case 1: // begin
        exchange_ = true;
        readWindow_ = writeWindow_ = false;
        return ack();
    case 2: // end
        exchange_ = false;
        readWindow_ = writeWindow_ = false;
        return ack();
    case 3: // status
        reply_ = {4,
                  config.signature,
                  std::uint8_t(config.memoryAccess ? 0x04 : 0x00),
                  config.controllerCode,
                  0,
                  std::uint8_t(pressedButtons & 0xFF),
                  std::uint8_t(pressedButtons >> 8),
                  0xCC};
        return;
    case 4:   // read window
    case 6: { // write window
        const int addr = req[2] | (req[3] << 8);
        const int len = req[4] | (req[5] << 8);
        if (!config.memoryAccess || addr + len > kMemorySize)
            return refuse();
        readWindow_ = cmd == 4;
        writeWindow_ = cmd == 6;
        winAddr_ = addr;
        winLen_ = len;
        winPos_ = 0;
        return ack();
    }
    case 5: { // next six bytes of the read window
        if (!readWindow_)
            return refuse();
        reply_ = {4, 0, 0, 0, 0, 0, 0, 0xCC};
        for (int k = 0; k < 6; ++k) {
            if (winPos_ + k < winLen_)
                reply_[1 + k] = memory[winAddr_ + winPos_ + k];
        }
        winPos_ += 6;
        return;
    }
    case 7: { // next six bytes of the write window
        if (!writeWindow_)
            return refuse();
        for (int k = 0; k < 6; ++k) {
            if (winPos_ + k < winLen_ && !config.writeProtected)
                memory[winAddr_ + winPos_ + k] = req[2 + k];
        }
        winPos_ += 6;
        return ack();
    }
    case 8: // reload
        ++reloads_;
        return ack();
    default:
        return refuse();
    }
}

std::vector<SimMouse::Report> SimMouse::traffic() const
{
    std::lock_guard lock(mutex_);
    return traffic_;
}

std::vector<std::array<std::uint8_t, 8>> SimMouse::requests() const
{
    std::lock_guard lock(mutex_);
    std::vector<std::array<std::uint8_t, 8>> out;
    for (const auto& r : traffic_)
        if (r.set)
            out.push_back(r.bytes);
    return out;
}

void SimMouse::clearTraffic()
{
    std::lock_guard lock(mutex_);
    traffic_.clear();
}

int SimMouse::reloadCount() const
{
    std::lock_guard lock(mutex_);
    return reloads_;
}

bool SimMouse::inExchange() const
{
    std::lock_guard lock(mutex_);
    return exchange_;
}

// ---------------------------------------------------------------------------

namespace
{
// A stand-in report descriptor: one vendor collection whose feature reports,
// report ID 4 included, are `featureLength` bytes long.
std::vector<std::uint8_t> vendorDescriptor(int featureLength)
{
    if (featureLength <= 1)
        return {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xC0};
    const int count = std::min(featureLength - 1, 0xFFFF);
    return {0x06,
            0x00,
            0xFF,
            0x09,
            0x01,
            0xA1,
            0x01,
            0x85,
            0x04,
            0x75,
            0x08,
            0x96,
            std::uint8_t(count & 0xFF),
            std::uint8_t(count >> 8),
            0x09,
            0x01,
            0xB1,
            0x02,
            0xC0};
}
} // namespace

class SimHost::Device final : public HidDevice
{
  public:
    Device(SimHost& host, std::size_t index) : host_(host), index_(index), plug_(host.plugs_.at(index))
    {
        std::lock_guard lock(host_.mutex_);
        ++host_.openHandles;
    }
    ~Device() override
    {
        std::lock_guard lock(host_.mutex_);
        --host_.openHandles;
        // On hidraw this frees what the other thread's request still uses.
        if (inRequest_.load() > 0)
            ++host_.closedInUse;
    }

    bool attributes(HidAttributes& out) override
    {
        std::lock_guard lock(host_.mutex_);
        const Interface* itf = alive();
        if (!itf)
            return false;
        out = itf->attributes;
        return true;
    }
    std::vector<std::uint8_t> reportDescriptor() override
    {
        std::lock_guard lock(host_.mutex_);
        const Interface* itf = alive();
        if (!itf)
            return {};
        return itf->descriptor.empty() ? vendorDescriptor(itf->featureLength) : itf->descriptor;
    }
    bool setFeature(const std::uint8_t* buf, std::size_t len) override
    {
        const InRequest busy(inRequest_);
        SimMouse* m = request(len > 1 ? buf[1] : 0);
        return m && m->setFeature(buf, len);
    }
    bool getFeature(std::uint8_t* buf, std::size_t len) override
    {
        const InRequest busy(inRequest_);
        SimMouse* m = request(std::nullopt);
        return m && m->getFeature(buf, len);
    }
    bool gone() const override
    {
        std::lock_guard lock(host_.mutex_);
        return gone_;
    }

  private:
    // Counts the requests under way through this handle.
    struct InRequest {
        explicit InRequest(std::atomic<int>& n) : n_(n) { ++n_; }
        ~InRequest() { --n_; }
        InRequest(const InRequest&) = delete;
        InRequest& operator=(const InRequest&) = delete;
        std::atomic<int>& n_;
    };
    // The interface while this handle's plug lasts; null once it was pulled out.
    const Interface* alive() const
    {
        const Interface& itf = host_.interfaces_.at(index_);
        return itf.present && host_.plugs_.at(index_) == plug_ ? &itf : nullptr;
    }
    // The mouse a request goes to, or null when the handle is dead.
    SimMouse* request(std::optional<std::uint8_t> command)
    {
        std::lock_guard lock(host_.mutex_);
        ++host_.featureCalls;
        const Interface* itf = alive();
        if (itf && itf->mouse && command && host_.unplugNow(itf->mouse, *command))
            itf = alive();
        if (!itf) {
            gone_ = true; // a dead hidraw handle answers ENODEV
            return nullptr;
        }
        return itf->mouse;
    }
    SimHost& host_;
    std::size_t index_;
    int plug_;
    bool gone_ = false;
    std::atomic<int> inRequest_{0};
};

int SimHost::add(Interface itf)
{
    std::lock_guard lock(mutex_);
    interfaces_.push_back(std::move(itf));
    plugs_.push_back(0);
    return int(interfaces_.size()) - 1;
}

void SimHost::addStandardSet(SimMouse* mouse, std::uint16_t vendor)
{
    add({"sim/keyboard", {0x046D, 0xC31C, 0x0110}, 2, true, true, 0, nullptr, nullptr});
    if (mouse) {
        add({"sim/mouse-input", {vendor, 0x08A0, 0x0104}, 5, true, true, 0, nullptr, mouse});
        add({"sim/mouse-config", {vendor, 0x08A0, 0x0104}, 8, true, true, 0, mouse, mouse});
    }
}

void SimHost::setPresentLocked(std::size_t index, bool present)
{
    Interface& itf = interfaces_.at(index);
    if (itf.present != present)
        ++plugs_.at(index);
    itf.present = present;
}

void SimHost::setPresent(int index, bool present)
{
    std::lock_guard lock(mutex_);
    setPresentLocked(std::size_t(index), present);
}

void SimHost::setPresentByPath(const std::string& path, bool present)
{
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < interfaces_.size(); ++i)
        if (interfaces_[i].path == path)
            setPresentLocked(i, present);
}

void SimHost::plugMouse(SimMouse* mouse, bool present)
{
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < interfaces_.size(); ++i)
        if (interfaces_[i].owner == mouse || interfaces_[i].mouse == mouse)
            setPresentLocked(i, present);
}

void SimHost::unplugAtCommand(SimMouse* mouse, std::uint8_t command, int n)
{
    std::lock_guard lock(mutex_);
    triggers_.push_back({mouse, command, n});
}

bool SimHost::unplugNow(SimMouse* mouse, std::uint8_t command)
{
    bool unplug = false;
    for (auto it = triggers_.begin(); it != triggers_.end();) {
        if (it->mouse == mouse && it->command == command && --it->remaining <= 0) {
            unplug = true;
            it = triggers_.erase(it);
        } else {
            ++it;
        }
    }
    if (unplug)
        plugMouse(mouse, false);
    return unplug;
}

void SimHost::refuseOpening(SimMouse* mouse, bool refuse)
{
    std::lock_guard lock(mutex_);
    for (auto& itf : interfaces_)
        if (itf.owner == mouse || itf.mouse == mouse)
            itf.openable = !refuse;
}

std::optional<std::vector<HidInterfaceInfo>> SimHost::listInterfaces()
{
    int call;
    {
        std::lock_guard lock(mutex_);
        call = ++listCalls;
    }
    if (onList)
        onList(call);
    std::lock_guard lock(mutex_);
    if (listFails)
        return std::nullopt;
    std::vector<HidInterfaceInfo> out;
    for (const auto& itf : interfaces_)
        if (itf.present)
            out.push_back({itf.path, itf.attributes});
    return out;
}

std::string SimHost::lockNodeIn(const std::string& folder, const std::string& path)
{
    std::string name = path;
    std::replace(name.begin(), name.end(), '/', '_');
    return folder + "/node-" + name;
}

std::string SimHost::lockNodeOf(const std::string& path)
{
    if (lockNodeFolder_.empty())
        return {};
    const std::string node = lockNodeIn(lockNodeFolder_, path);
    std::ofstream(node, std::ios::app); // the node exists as long as the device
    return node;
}

std::unique_ptr<HidDevice> SimHost::open(const std::string& path, HidOpenError* why)
{
    std::lock_guard lock(mutex_);
    ++openCalls;
    if (why)
        *why = HidOpenError::Other;
    for (std::size_t i = 0; i < interfaces_.size(); ++i) {
        Interface& itf = interfaces_[i];
        if (itf.path != path || !itf.present)
            continue;
        if (!itf.openable) {
            if (why)
                *why = HidOpenError::PermissionDenied;
            return nullptr;
        }
        if (itf.failOpens > 0) {
            --itf.failOpens;
            return nullptr;
        }
        if (why)
            *why = HidOpenError::None;
        return std::make_unique<Device>(*this, i);
    }
    return nullptr;
}

} // namespace orb
