#define FUSE_USE_VERSION 35
#include "HidrawEmulator.h"

#include <fuse.h>
#include <linux/hidraw.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace orb::test
{

namespace
{

constexpr const char* kPci = "/sys/devices/pci0000:00";
constexpr const char* kHost = "/sys/devices/pci0000:00/0000:00:14.0";
constexpr const char* kRootHub = "/sys/devices/pci0000:00/0000:00:14.0/usb3";
constexpr std::uint8_t kMouseReportId = 4;
// The largest report the kernel's hidraw driver passes (HID_MAX_BUFFER_SIZE).
constexpr std::size_t kMaxBuffer = 16384;

// A boot keyboard: input and output reports, no feature report.
const std::vector<std::uint8_t> kKeyboardDescriptor = {
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01,
    0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x01, 0x75, 0x08, 0x81, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x91, 0x02, 0x95, 0x01, 0x75, 0x03, 0x91, 0x01, 0x95, 0x06,
    0x75, 0x08, 0x15, 0x00, 0x25, 0x65, 0x05, 0x07, 0x19, 0x00, 0x29, 0x65, 0x81, 0x00, 0xC0};
// The mouse's pointer interface: buttons, X, Y and wheel; no feature report.
const std::vector<std::uint8_t> kPointerDescriptor = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19,
    0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02,
    0x95, 0x01, 0x75, 0x03, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09,
    0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03, 0x81, 0x06, 0xC0, 0xC0};
// The configuration interface: a vendor collection with feature report 4 of
// seven data bytes (eight with the identifier).
const std::vector<std::uint8_t> kConfigDescriptor = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85,
                                                     0x04, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08,
                                                     0x95, 0x07, 0x09, 0x01, 0xB1, 0x02, 0xC0};

std::string hex4(unsigned v, bool upper)
{
    char b[8];
    std::snprintf(b, sizeof b, upper ? "%04X" : "%04x", v & 0xFFFF);
    return b;
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A symbolic link at `link` to `target` (a path below /sys), relative as
// sysfs makes them.
void linkInSys(const std::string& link, const std::string& target)
{
    const fs::path from = fs::path(link).parent_path();
    std::error_code ec;
    fs::create_symlink(fs::path(target).lexically_relative(from), link, ec);
}

bool mountTmpfs(const std::string& where, std::string& why)
{
    if (::mount("orb-hidraw", where.c_str(), "tmpfs", MS_NOSUID, "mode=755") == 0)
        return true;
    why = "cannot mount a tmpfs over " + where + ": " + std::strerror(errno);
    return false;
}

HidrawEmulator* self()
{
    return static_cast<HidrawEmulator*>(fuse_get_context()->private_data);
}

int nodeOf(const char* path)
{
    return path[0] == '/' ? self()->nodeByName(path + 1) : -1;
}

void* fsInit(fuse_conn_info*, fuse_config* cfg)
{
    // Owners and modes change between plugs: nothing is cached.
    cfg->attr_timeout = 0;
    cfg->entry_timeout = 0;
    cfg->negative_timeout = 0;
    cfg->direct_io = 1;
    return fuse_get_context()->private_data;
}

int fsGetattr(const char* path, struct stat* st, fuse_file_info*)
{
    std::memset(st, 0, sizeof *st);
    if (std::strcmp(path, "/") == 0) {
        st->st_mode = S_IFDIR | 0755;
        st->st_nlink = 2;
        return 0;
    }
    uid_t uid;
    gid_t gid;
    unsigned mode;
    if (!self()->nodeAttributes(nodeOf(path), uid, gid, mode))
        return -ENOENT;
    st->st_mode = S_IFREG | mode;
    st->st_nlink = 1;
    st->st_uid = uid;
    st->st_gid = gid;
    return 0;
}

int fsReaddir(const char* path, void* buf, fuse_fill_dir_t fill, off_t, fuse_file_info*, fuse_readdir_flags)
{
    if (std::strcmp(path, "/") != 0)
        return -ENOTDIR;
    fill(buf, ".", nullptr, 0, fuse_fill_dir_flags(0));
    fill(buf, "..", nullptr, 0, fuse_fill_dir_flags(0));
    for (int i = 0; i < 3; ++i)
        fill(buf, ("hidraw" + std::to_string(i)).c_str(), nullptr, 0, fuse_fill_dir_flags(0));
    return 0;
}

int fsOpen(const char* path, fuse_file_info* fi)
{
    const long generation = self()->openNode(nodeOf(path));
    if (generation < 0)
        return int(generation);
    fi->fh = std::uint64_t(generation);
    fi->direct_io = 1;
    fi->nonseekable = 1;
    return 0;
}

int fsIoctl(const char* path, unsigned int cmd, void*, fuse_file_info* fi, unsigned int, void* data)
{
    return self()->ioctlNode(nodeOf(path), unsigned(fi->fh), cmd, data, _IOC_SIZE(cmd));
}

} // namespace

HidrawEmulator::HidrawEmulator(std::uint16_t mouseVendor) : mouseVendor_(mouseVendor)
{
    nodes_[Keyboard] = {"hidraw0", 0, 0x1C4F, 0x0002, kKeyboardDescriptor, false};
    nodes_[Pointer] = {"hidraw1", 1, mouseVendor, 0x08A0, kPointerDescriptor, false};
    nodes_[Config] = {"hidraw2", 2, mouseVendor, 0x08A0, kConfigDescriptor, true};
    keyboard_ = {"3-1", 0x1C4F, 0x0002, 0x0110, "SiGma Micro", "USB Keyboard", "", {Keyboard}};
    mouseUsb_ = {"3-2", mouseVendor, 0x08A0, 0x0104, "ORB", "ORB5610 Gaming Mouse", "", {Pointer, Config}};
}

HidrawEmulator::~HidrawEmulator()
{
    if (!started_)
        return;
    plug(mouseUsb_, false);
    plug(keyboard_, false);
    fuse_unmount(fuse_);
    if (loop_.joinable())
        loop_.join();
    fuse_destroy(fuse_);
    // The machine's own trees again, for the next emulator in this process.
    for (const char* where : {"/dev", "/run", "/sys/class/hidraw", kPci})
        ::umount2(where, MNT_DETACH);
    ::umount2(work_.c_str(), MNT_DETACH);
    ::rmdir(work_.c_str());
}

std::string HidrawEmulator::unavailable()
{
    if (::geteuid() != 0)
        return "needs root (mounts in a private mount namespace)";
    if (::access("/dev/fuse", R_OK | W_OK) != 0)
        return "no usable /dev/fuse";
    std::error_code ec;
    // The process that started this one (under `unshare -m`) stays in the
    // namespace everyone else uses; sharing its namespace means mounting there.
    const auto mine = fs::read_symlink("/proc/self/ns/mnt", ec);
    const auto parent = fs::read_symlink("/proc/" + std::to_string(::getppid()) + "/ns/mnt", ec);
    if (ec || mine == parent)
        return "not in a mount namespace of its own (run under unshare -m)";
    if (!fs::is_directory(kPci) || !fs::is_directory("/sys/class/hidraw"))
        return "no /sys/devices/pci0000:00 or /sys/class/hidraw to cover";
    return {};
}

bool HidrawEmulator::start(std::string& why)
{
    why = unavailable();
    if (!why.empty())
        return false;
    // Nothing mounted below may reach the parent namespace.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        why = std::string("cannot make / private: ") + std::strerror(errno);
        return false;
    }
    char tmpl[] = "/tmp/orb-hidraw-XXXXXX";
    if (!::mkdtemp(tmpl)) {
        why = "no private folder";
        return false;
    }
    work_ = tmpl;
    if (!mountTmpfs(work_, why))
        return false;
    const std::string oldDev = work_ + "/olddev";
    fuseMount_ = work_ + "/nodes";
    fs::create_directories(oldDev);
    fs::create_directories(fuseMount_);

    // /dev of its own, with what the programs need bound back from the old one.
    if (::mount("/dev", oldDev.c_str(), nullptr, MS_BIND | MS_REC, nullptr) != 0) {
        why = std::string("cannot keep /dev: ") + std::strerror(errno);
        return false;
    }
    if (!mountTmpfs("/dev", why))
        return false;
    for (const char* name :
         {"null", "zero", "full", "random", "urandom", "tty", "fuse", "ptmx", "pts", "shm"}) {
        const std::string from = oldDev + "/" + name, to = std::string("/dev/") + name;
        std::error_code ec;
        const auto st = fs::symlink_status(from, ec);
        if (ec || !fs::exists(st))
            continue;
        if (fs::is_symlink(st)) {
            fs::copy_symlink(from, to, ec);
            continue;
        }
        if (fs::is_directory(st))
            fs::create_directory(to, ec);
        else
            writeFile(to, "");
        ::mount(from.c_str(), to.c_str(), nullptr, MS_BIND | MS_REC, nullptr);
    }
    std::error_code ec;
    fs::create_symlink("/proc/self/fd", "/dev/fd", ec);
    fs::create_symlink("/proc/self/fd/0", "/dev/stdin", ec);
    fs::create_symlink("/proc/self/fd/1", "/dev/stdout", ec);
    fs::create_symlink("/proc/self/fd/2", "/dev/stderr", ec);

    if (!mountTmpfs("/sys/class/hidraw", why) || !mountTmpfs(kPci, why) || !mountTmpfs("/run", why))
        return false;
    fs::create_directories("/run/udev/data");
    // The machine's lock folder, as Debian has it: shared by every user.
    fs::create_directories("/run/lock");
    ::chmod("/run/lock", 01777);

    // The USB host controller and its root hub, present all the time.
    writeFile(std::string(kPci) + "/uevent", "");
    fs::create_directories(kRootHub);
    writeFile(std::string(kHost) + "/uevent", "DRIVER=xhci_hcd\nPCI_CLASS=C0330\nPCI_ID=8086:A36D\n");
    linkInSys(std::string(kHost) + "/subsystem", "/sys/bus/pci");
    writeFile(std::string(kRootHub) + "/uevent",
              "MAJOR=189\nMINOR=256\nDEVNAME=bus/usb/003/001\nDEVTYPE=usb_device\nDRIVER=usb\n"
              "PRODUCT=1d6b/2/601\nTYPE=9/0/1\nBUSNUM=003\nDEVNUM=001\n");
    writeFile(std::string(kRootHub) + "/idVendor", "1d6b\n");
    writeFile(std::string(kRootHub) + "/idProduct", "0002\n");
    linkInSys(std::string(kRootHub) + "/subsystem", "/sys/bus/usb");

    // The node files, served on a thread of this process.
    static const fuse_operations ops = [] {
        fuse_operations o{};
        o.init = fsInit;
        o.getattr = fsGetattr;
        o.readdir = fsReaddir;
        o.open = fsOpen;
        o.ioctl = fsIoctl;
        return o;
    }();
    const char* argv[] = {"orb-hidraw", "-o", "allow_other,default_permissions,fsname=orb-hidraw"};
    fuse_args args = FUSE_ARGS_INIT(3, const_cast<char**>(argv));
    fuse_ = fuse_new(&args, &ops, sizeof ops, this);
    fuse_opt_free_args(&args);
    if (!fuse_ || fuse_mount(fuse_, fuseMount_.c_str()) != 0) {
        why = "cannot mount the FUSE file system";
        if (fuse_)
            fuse_destroy(fuse_);
        fuse_ = nullptr;
        return false;
    }
    loop_ = std::thread([f = fuse_] { fuse_loop(f); });
    started_ = true;
    plugKeyboard(true);
    return true;
}

std::string HidrawEmulator::devPath(NodeIndex node) const
{
    return "/dev/" + nodes_[node].name;
}

void HidrawEmulator::plugMouse(bool present)
{
    plug(mouseUsb_, present);
}

void HidrawEmulator::plugKeyboard(bool present)
{
    plug(keyboard_, present);
}

bool HidrawEmulator::mousePlugged() const
{
    std::lock_guard lock(mutex_);
    return nodes_[Config].present;
}

void HidrawEmulator::setMouseNodeAccess(uid_t uid, gid_t gid, unsigned mode)
{
    std::lock_guard lock(mutex_);
    mouseUid_ = uid;
    mouseGid_ = gid;
    mouseMode_ = mode;
}

void HidrawEmulator::setConfigError(int error)
{
    std::lock_guard lock(mutex_);
    configError_ = error;
}

void HidrawEmulator::setConfigReplyBytes(int bytes)
{
    std::lock_guard lock(mutex_);
    replyBytes_ = bytes;
}

int HidrawEmulator::featureRequests() const
{
    std::lock_guard lock(mutex_);
    return featureRequests_;
}

std::string HidrawEmulator::hidName(const Usb& usb, int node) const
{
    return "0003:" + hex4(usb.vendor, true) + ":" + hex4(usb.product, true) + "." +
           hex4(hidNumber_[node], true);
}

void HidrawEmulator::plug(const Usb& usb, bool present)
{
    // The state changes under the lock the file system's callbacks take; the
    // tree and the bind mounts are made without it, since binding a node
    // makes the kernel ask those callbacks.
    std::lock_guard tree(treeMutex_);
    {
        std::lock_guard lock(mutex_);
        if (!started_ || nodes_[usb.nodes.front()].present == present)
            return;
        for (int n : usb.nodes) {
            Node& node = nodes_[n];
            node.present = present; // unplugged: open handles answer ENODEV from now on
            if (!present)
                continue;
            ++node.generation;
            hidNumber_[n] = ++hidSerial_;
            if (&usb == &mouseUsb_) {
                node.uid = mouseUid_;
                node.gid = mouseGid_;
                node.mode = mouseMode_;
            }
        }
    }
    if (present)
        writeTree(usb);
    else
        removeTree(usb);
}

void HidrawEmulator::writeTree(const Usb& usb)
{
    const std::string dev = std::string(kRootHub) + "/" + usb.port;
    const int devnum = usb.port == "3-1" ? 2 : 3;
    fs::create_directories(dev);
    const std::string vid = hex4(usb.vendor, false), pid = hex4(usb.product, false);
    writeFile(dev + "/uevent", "MAJOR=189\nMINOR=" + std::to_string(256 + devnum - 1) +
                                   "\nDEVNAME=bus/usb/003/00" + std::to_string(devnum) +
                                   "\nDEVTYPE=usb_device\nDRIVER=usb\nPRODUCT=" + vid + "/" + pid + "/" +
                                   hex4(usb.release, false) + "\nTYPE=0/0/0\nBUSNUM=003\nDEVNUM=00" +
                                   std::to_string(devnum) + "\n");
    writeFile(dev + "/idVendor", vid + "\n");
    writeFile(dev + "/idProduct", pid + "\n");
    writeFile(dev + "/bcdDevice", hex4(usb.release, false) + "\n");
    writeFile(dev + "/manufacturer", usb.manufacturer + "\n");
    writeFile(dev + "/product", usb.productName + "\n");
    if (!usb.serial.empty())
        writeFile(dev + "/serial", usb.serial + "\n");
    writeFile(dev + "/busnum", "3\n");
    writeFile(dev + "/devnum", std::to_string(devnum) + "\n");
    linkInSys(dev + "/subsystem", "/sys/bus/usb");

    for (std::size_t k = 0; k < usb.nodes.size(); ++k) {
        const Node& node = nodes_[usb.nodes[k]];
        const std::string itf = dev + "/" + usb.port + ":1." + std::to_string(k);
        fs::create_directories(itf);
        writeFile(itf + "/uevent", "DEVTYPE=usb_interface\nDRIVER=usbhid\nPRODUCT=" + vid + "/" + pid + "/" +
                                       hex4(usb.release, false) + "\nTYPE=0/0/0\nINTERFACE=3/0/0\n");
        writeFile(itf + "/bInterfaceNumber", "0" + std::to_string(k) + "\n");
        writeFile(itf + "/bInterfaceClass", "03\n");
        linkInSys(itf + "/subsystem", "/sys/bus/usb");

        const std::string hid = itf + "/" + hidName(usb, usb.nodes[k]);
        const std::string raw = hid + "/hidraw/" + node.name;
        fs::create_directories(raw);
        const std::string hidId = "0003:0000" + hex4(usb.vendor, true) + ":0000" + hex4(usb.product, true);
        writeFile(hid + "/uevent", "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=" + usb.manufacturer +
                                       " " + usb.productName + "\nHID_PHYS=usb-0000:00:14.0-" +
                                       usb.port.substr(2) + "/input" + std::to_string(k) +
                                       "\nHID_UNIQ=" + usb.serial + "\nMODALIAS=hid:b0003g0001v0000" +
                                       hex4(usb.vendor, true) + "p0000" + hex4(usb.product, true) + "\n");
        writeFile(hid + "/report_descriptor", std::string(node.descriptor.begin(), node.descriptor.end()));
        linkInSys(hid + "/subsystem", "/sys/bus/hid");

        const std::string devno = std::to_string(kMajor) + ":" + std::to_string(node.minor);
        writeFile(raw + "/uevent", "MAJOR=" + std::to_string(kMajor) + "\nMINOR=" +
                                       std::to_string(node.minor) + "\nDEVNAME=" + node.name + "\n");
        writeFile(raw + "/dev", devno + "\n");
        linkInSys(raw + "/subsystem", "/sys/class/hidraw");
        linkInSys(raw + "/device", hid);
        linkInSys("/sys/class/hidraw/" + node.name, raw);
        // libudev lists a device with a device number only once udev has
        // taken it up, as its database entry tells.
        writeFile("/run/udev/data/c" + devno, "I:1000000\n");

        // The node: the FUSE file bound over an entry of the private /dev.
        const std::string path = "/dev/" + node.name;
        writeFile(path, "");
        ::mount((fuseMount_ + "/" + node.name).c_str(), path.c_str(), nullptr, MS_BIND, nullptr);
    }
}

void HidrawEmulator::removeTree(const Usb& usb)
{
    std::error_code ec;
    for (int n : usb.nodes) {
        const Node& node = nodes_[n];
        const std::string path = "/dev/" + node.name;
        ::umount2(path.c_str(), MNT_DETACH);
        fs::remove(path, ec);
        fs::remove("/sys/class/hidraw/" + node.name, ec);
        fs::remove("/run/udev/data/c" + std::to_string(kMajor) + ":" + std::to_string(node.minor), ec);
    }
    fs::remove_all(std::string(kRootHub) + "/" + usb.port, ec);
}

int HidrawEmulator::nodeByName(const std::string& name) const
{
    for (int i = 0; i < int(nodes_.size()); ++i)
        if (nodes_[i].name == name)
            return i;
    return -1;
}

bool HidrawEmulator::nodeAttributes(int index, uid_t& uid, gid_t& gid, unsigned& mode) const
{
    if (index < 0)
        return false;
    std::lock_guard lock(mutex_);
    const Node& n = nodes_[index];
    uid = n.uid;
    gid = n.gid;
    mode = n.mode;
    return true;
}

long HidrawEmulator::openNode(int index)
{
    if (index < 0)
        return -ENOENT;
    std::lock_guard lock(mutex_);
    const Node& n = nodes_[index];
    if (!n.present)
        return -ENODEV;
    return long(n.generation);
}

int HidrawEmulator::ioctlNode(int index, unsigned generation, unsigned cmd, void* data, std::size_t size)
{
    if (index < 0)
        return -ENOENT;
    std::unique_lock lock(mutex_);
    const Node& n = nodes_[index];
    auto alive = [&] { return n.present && n.generation == generation; };
    // As hidraw: once the device has gone, every request on the handle fails.
    if (!alive())
        return -ENODEV;
    if (_IOC_TYPE(cmd) != 'H')
        return -ENOTTY;
    if (cmd == HIDIOCGRDESCSIZE) {
        const int descSize = int(n.descriptor.size());
        std::memcpy(data, &descSize, sizeof descSize);
        return 0;
    }
    if (cmd == HIDIOCGRDESC) {
        auto* rd = static_cast<hidraw_report_descriptor*>(data);
        rd->size = std::uint32_t(n.descriptor.size());
        std::copy(n.descriptor.begin(), n.descriptor.end(), rd->value);
        return 0;
    }
    if (cmd == HIDIOCGRAWINFO) {
        hidraw_devinfo info{};
        info.bustype = BUS_USB;
        info.vendor = std::int16_t(n.vendor);
        info.product = std::int16_t(n.product);
        std::memcpy(data, &info, sizeof info);
        return 0;
    }
    const unsigned nr = _IOC_NR(cmd);
    if ((nr != _IOC_NR(HIDIOCSFEATURE(0)) && nr != _IOC_NR(HIDIOCGFEATURE(0))) ||
        _IOC_DIR(cmd) != (_IOC_READ | _IOC_WRITE))
        return -ENOTTY;
    if (size < 2 || size > kMaxBuffer)
        return -EINVAL;
    auto* buf = static_cast<std::uint8_t*>(data);
    const bool set = nr == _IOC_NR(HIDIOCSFEATURE(0));
    if (index == Config)
        ++featureRequests_;
    if (index == Config && configError_ != 0)
        return -configError_;
    // A device without this feature report stalls the control request.
    if (!n.answersFeatures || buf[0] != kMouseReportId)
        return -EPIPE;

    // The model runs without the lock: its command hook may unplug the mouse.
    lock.unlock();
    std::array<std::uint8_t, 8> report{};
    std::memcpy(report.data(), buf, std::min<std::size_t>(size, report.size()));
    const bool ok =
        set ? mouse.setFeature(report.data(), report.size()) : mouse.getFeature(report.data(), report.size());
    lock.lock();
    if (!alive())
        return -ENODEV;
    if (!ok)
        return -EPIPE;
    if (set)
        return int(size); // the bytes sent, identifier included
    // The device answers with its eight-byte report (or, made to, fewer
    // bytes); a shorter request takes what fits.
    std::size_t got = std::min<std::size_t>(size, report.size());
    if (index == Config && replyBytes_ > 0)
        got = std::min<std::size_t>(got, std::size_t(replyBytes_));
    std::memcpy(buf, report.data(), got);
    return int(got);
}

} // namespace orb::test
