#include "device/SimMouse.h"

#include <algorithm>
#include <cstring>

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
    if (len < 8)
        return false;
    std::array<std::uint8_t, 8> out{4, 0, 0, 0, 0, 0, 0, 0};
    if (pendingPolls_ > 0)
        --pendingPolls_;
    else
        out = reply_;
    std::memcpy(buf, out.data(), 8);
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

class SimHost::Device final : public HidDevice
{
  public:
    Device(SimHost& host, std::string path) : host_(host), path_(std::move(path))
    {
        std::lock_guard lock(host_.mutex_);
        ++host_.openHandles;
    }
    ~Device() override
    {
        std::lock_guard lock(host_.mutex_);
        --host_.openHandles;
    }

    bool attributes(HidAttributes& out) override
    {
        std::lock_guard lock(host_.mutex_);
        const Interface* itf = find();
        if (!itf)
            return false;
        out = itf->attributes;
        return true;
    }
    int featureReportLength() override
    {
        std::lock_guard lock(host_.mutex_);
        const Interface* itf = find();
        return itf ? itf->featureLength : 0;
    }
    bool setFeature(const std::uint8_t* buf, std::size_t len) override
    {
        SimMouse* m = mouse();
        return m && m->setFeature(buf, len);
    }
    bool getFeature(std::uint8_t* buf, std::size_t len) override
    {
        SimMouse* m = mouse();
        return m && m->getFeature(buf, len);
    }

  private:
    const Interface* find() const
    {
        for (const auto& itf : host_.interfaces_)
            if (itf.path == path_ && itf.present)
                return &itf;
        return nullptr;
    }
    SimMouse* mouse()
    {
        std::lock_guard lock(host_.mutex_);
        const Interface* itf = find();
        return itf ? itf->mouse : nullptr;
    }
    SimHost& host_;
    std::string path_;
};

int SimHost::add(Interface itf)
{
    std::lock_guard lock(mutex_);
    interfaces_.push_back(std::move(itf));
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

void SimHost::setPresent(int index, bool present)
{
    std::lock_guard lock(mutex_);
    interfaces_.at(index).present = present;
}

void SimHost::setPresentByPath(const std::string& path, bool present)
{
    std::lock_guard lock(mutex_);
    for (auto& itf : interfaces_)
        if (itf.path == path)
            itf.present = present;
}

void SimHost::plugMouse(SimMouse* mouse, bool present)
{
    std::lock_guard lock(mutex_);
    for (auto& itf : interfaces_)
        if (itf.owner == mouse || itf.mouse == mouse)
            itf.present = present;
}

std::optional<std::vector<std::string>> SimHost::listInterfaces()
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
    std::vector<std::string> out;
    for (const auto& itf : interfaces_)
        if (itf.present)
            out.push_back(itf.path);
    return out;
}

std::unique_ptr<HidDevice> SimHost::open(const std::string& path)
{
    std::lock_guard lock(mutex_);
    ++openCalls;
    for (auto& itf : interfaces_) {
        if (itf.path != path || !itf.present)
            continue;
        if (!itf.openable)
            return nullptr;
        if (itf.failOpens > 0) {
            --itf.failOpens;
            return nullptr;
        }
        return std::make_unique<Device>(*this, path);
    }
    return nullptr;
}

} // namespace orb
