#pragma once
// The emulated keyboard and mouse behind real hidraw nodes, for tests of the
// unmodified hidapi path. Skips the test, saying why, where they cannot be
// made (not root, no FUSE, not run in a mount namespace of its own).
#include "HidrawEmulator.h"
#include "image/DefaultImages.h"

#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <memory>

namespace orb::test
{

inline constexpr std::uint16_t kMouseVendor = ORB_DEFAULT_VENDOR_ID;

// The firmware model's memory: default image 1 with every macro-area byte
// set, so a transfer that drops, shifts or repeats a chunk shows.
inline std::array<std::uint8_t, 2048> PatternedImage()
{
    std::array<std::uint8_t, 2048> img{};
    if (auto def = LoadDefaultImage(1))
        img = *def;
    for (std::size_t i = 0x100; i < img.size(); ++i)
        img[i] = std::uint8_t((i * 7 + 3) & 0xFF);
    return img;
}

// This thread only (the node's file system runs on another one, as root):
// the user the window runs as. glibc's setresuid would change every thread.
struct ThreadUser {
    explicit ThreadUser(uid_t uid) { ok = ::syscall(SYS_setresuid, uid, uid, 0) == 0; }
    ~ThreadUser()
    {
        if (ok)
            ::syscall(SYS_setresuid, 0, 0, 0);
    }
    bool ok = false;
};

struct HidrawFixture : ::testing::Test {
    std::unique_ptr<HidrawEmulator> emu;

    void SetUp() override
    {
        if (const std::string why = HidrawEmulator::unavailable(); !why.empty())
            GTEST_SKIP() << "emulated hidraw devices cannot be made here: " << why;
        emu = std::make_unique<HidrawEmulator>(kMouseVendor);
        std::string why;
        ASSERT_TRUE(emu->start(why)) << why;
        emu->mouse.memory = PatternedImage();
    }
    void TearDown() override
    {
        if (emu)
            emu->mouse.onCommand = nullptr;
        emu.reset();
    }
    // Unplugs the mouse as the n-th command from now reaches it (that
    // request already fails as on a dead handle).
    void unplugAtCommand(int n)
    {
        auto seen = std::make_shared<int>(0);
        emu->mouse.onCommand = [this, seen, n](int) {
            if (++*seen == n)
                emu->plugMouse(false);
        };
    }
};

} // namespace orb::test
