#pragma once
// A USB keyboard and the composite mouse as the unmodified hidapi and libudev
// see them: the sysfs tree and udev database entries of their HID interfaces,
// and /dev/hidrawN nodes served by FUSE with the firmware model (SimMouse)
// behind the mouse's configuration interface.
//
// Everything is mounted in the calling process's mount namespace, which must
// be a private one of its own (the test runs under `unshare -m`): tmpfs over
// /sys/class/hidraw, /sys/devices/pci0000:00, /run and /dev (the few nodes
// the programs need bound back), the FUSE file system in a folder of its own.
// Nothing of it is seen outside the namespace, and it all goes with the last
// process in it.
#include "device/SimMouse.h"

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct fuse;

namespace orb::test
{

class HidrawEmulator
{
  public:
    // The character-device major number the emulated hidraw nodes carry.
    static constexpr unsigned kMajor = 240;
    // The three interfaces: the keyboard, the mouse's pointer and its
    // configuration interface, as hidraw0..2.
    enum NodeIndex { Keyboard = 0, Pointer = 1, Config = 2 };

    explicit HidrawEmulator(std::uint16_t mouseVendor);
    ~HidrawEmulator();
    HidrawEmulator(const HidrawEmulator&) = delete;
    HidrawEmulator& operator=(const HidrawEmulator&) = delete;

    // Empty when the emulator can run in this process; otherwise why not
    // (not root, no FUSE, not in a mount namespace of its own).
    static std::string unavailable();
    // Mounts the trees and the FUSE file system; the keyboard is plugged in.
    // False with the reason in `why` when a step fails.
    bool start(std::string& why);

    // The firmware model behind the configuration node.
    SimMouse mouse;

    // Plug or unplug the whole mouse (both interfaces): the sysfs tree, the
    // udev entries and the nodes appear or vanish; handles opened before an
    // unplug answer ENODEV for good. Safe from inside `mouse.onCommand`.
    void plugMouse(bool present);
    void plugKeyboard(bool present);
    bool mousePlugged() const;
    // Owner and mode of the mouse's nodes from the next plug on (the kernel's
    // default without a udev rule is root, 0600).
    void setMouseNodeAccess(uid_t uid, gid_t gid, unsigned mode);
    // Every feature request on the configuration node fails with this error
    // (EPIPE: the device stalls; EIO), 0 for none.
    void setConfigError(int error);
    // The configuration node answers get-feature requests with only this many
    // bytes (a device sending a short report), 0 for whole reports.
    void setConfigReplyBytes(int bytes);
    // Feature requests that reached the configuration node, dead handles included.
    int featureRequests() const;

    std::string devPath(NodeIndex node) const;

    // --- FUSE side (called by the file system's callbacks) ---
    struct Node {
        std::string name;
        unsigned minor = 0;
        std::uint16_t vendor = 0, product = 0;
        std::vector<std::uint8_t> descriptor;
        bool answersFeatures = false; // false: feature requests stall (EPIPE)
        bool present = false;
        unsigned generation = 0; // bumped at every plug; a handle keeps the one it opened
        uid_t uid = 0;
        gid_t gid = 0;
        unsigned mode = 0660;
    };
    int nodeByName(const std::string& name) const;
    bool nodeAttributes(int index, uid_t& uid, gid_t& gid, unsigned& mode) const;
    // Opens a node: the generation the handle belongs to, or a negative errno.
    long openNode(int index);
    // One ioctl on a handle: the value the kernel's hidraw driver returns.
    int ioctlNode(int index, unsigned generation, unsigned cmd, void* data, std::size_t size);

  private:
    struct Usb {
        std::string port; // "3-1"
        std::uint16_t vendor, product, release;
        std::string manufacturer, productName, serial;
        std::vector<int> nodes; // interface k -> node index
    };
    void plug(const Usb& usb, bool present);
    void writeTree(const Usb& usb);
    void removeTree(const Usb& usb);
    std::string hidName(const Usb& usb, int itf) const;

    std::uint16_t mouseVendor_;
    mutable std::mutex mutex_; // the nodes' state, taken by the file system's callbacks
    std::mutex treeMutex_;     // one plug or unplug at a time
    std::array<Node, 3> nodes_;
    Usb keyboard_, mouseUsb_;
    unsigned hidSerial_ = 0; // the kernel numbers HID devices on, across plugs
    std::array<unsigned, 3> hidNumber_{};
    uid_t mouseUid_ = 0;
    gid_t mouseGid_ = 0;
    unsigned mouseMode_ = 0660;
    int configError_ = 0;
    int replyBytes_ = 0;
    int featureRequests_ = 0;
    bool started_ = false;
    std::string work_;      // private folder: the FUSE mount and the old /dev
    std::string fuseMount_; // where the FUSE file system is mounted
    struct fuse* fuse_ = nullptr;
    std::thread loop_;
};

} // namespace orb::test
