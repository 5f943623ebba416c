// A pointer for a compositor that has none (a headless sway): a Wayland
// client that creates a virtual pointer (wlr-virtual-pointer-unstable-v1),
// so the seat offers a pointer to its clients, and moves and clicks it as
// told on standard input, one command a line:
//   move X Y     to X, Y in the output layout's logical pixels
//   press        left button down
//   release      left button up
// After each command the compositor has handled it, and "ok" is printed.
//   orb_virtual_pointer LAYOUT_WIDTH LAYOUT_HEIGHT
// Prints "ready" once the pointer exists; exits 2 when the compositor does
// not offer virtual pointers.
#include <wayland-client.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace
{

// The protocol's two interfaces, as the scanner would describe them (only
// the requests used here and those before them, so the opcodes hold).
// libwayland takes the argument types as a non-const array.
const wl_interface* noTypes[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};

const wl_message pointerRequests[] = {
    {"motion", "uff", noTypes},   {"motion_absolute", "uuuuu", noTypes},
    {"button", "uuu", noTypes},   {"axis", "uuf", noTypes},
    {"frame", "", noTypes},       {"axis_source", "u", noTypes},
    {"axis_stop", "uu", noTypes}, {"axis_discrete", "uufi", noTypes},
    {"destroy", "", noTypes},
};
const wl_interface virtualPointerInterface = {"zwlr_virtual_pointer_v1", 1, 9, pointerRequests, 0, nullptr};

const wl_interface* createTypes[2] = {&wl_seat_interface, &virtualPointerInterface};
const wl_message managerRequests[] = {
    {"create_virtual_pointer", "?on", createTypes},
    {"destroy", "", noTypes},
};
const wl_interface managerInterface = {"zwlr_virtual_pointer_manager_v1", 1, 2, managerRequests, 0, nullptr};

enum PointerOp : std::uint32_t { MotionAbsolute = 1, Button = 2, Frame = 4, PointerDestroy = 8 };
enum ManagerOp : std::uint32_t { CreatePointer = 0, ManagerDestroy = 1 };
constexpr std::uint32_t BtnLeft = 0x110; // linux/input-event-codes.h

struct Globals {
    wl_seat* seat = nullptr;
    wl_proxy* manager = nullptr;
};

void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
{
    auto* g = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !g->seat)
        g->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, managerInterface.name) == 0)
        g->manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &managerInterface, 1));
}

void globalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener registryListener = {global, globalRemove};

std::uint32_t nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::uint32_t>(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

void say(const char* what)
{
    std::printf("%s\n", what);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 64;
    const long width = std::strtol(argv[1], nullptr, 10);
    const long height = std::strtol(argv[2], nullptr, 10);
    if (width <= 0 || height <= 0)
        return 64;
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "no Wayland display\n");
        return 2;
    }
    Globals g;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &g);
    wl_display_roundtrip(display);
    if (!g.manager || !g.seat) {
        std::fprintf(stderr, "the compositor offers no virtual pointer\n");
        return 2;
    }
    wl_proxy* pointer =
        wl_proxy_marshal_flags(g.manager, CreatePointer, &virtualPointerInterface, 1, 0, g.seat, nullptr);
    if (wl_display_roundtrip(display) < 0)
        return 2;
    say("ready");

    char line[128];
    while (std::fgets(line, sizeof line, stdin)) {
        const std::string command(line, std::strcspn(line, "\r\n"));
        long x = 0;
        long y = 0;
        if (std::sscanf(line, "move %ld %ld", &x, &y) == 2 && x >= 0 && y >= 0 && x <= width && y <= height) {
            wl_proxy_marshal_flags(pointer, MotionAbsolute, nullptr, 1, 0, nowMs(), std::uint32_t(x),
                                   std::uint32_t(y), std::uint32_t(width), std::uint32_t(height));
        } else if (command == "press" || command == "release") {
            wl_proxy_marshal_flags(pointer, Button, nullptr, 1, 0, nowMs(), BtnLeft,
                                   std::uint32_t(command == "press" ? 1 : 0));
        } else {
            std::fprintf(stderr, "unknown command: %s\n", command.c_str());
            continue;
        }
        wl_proxy_marshal_flags(pointer, Frame, nullptr, 1, 0);
        if (wl_display_roundtrip(display) < 0)
            return 2;
        say("ok");
    }
    wl_proxy_marshal_flags(pointer, PointerDestroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    wl_proxy_marshal_flags(g.manager, ManagerDestroy, nullptr, 1, WL_MARSHAL_FLAG_DESTROY);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
