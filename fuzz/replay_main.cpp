// Replays files through a fuzz target's entry point with the ordinary
// compiler, so the test command builds every target (an interface change
// breaks the build at once) and walks its corpus under the sanitizers.
//   replay_<target> NAME DIR_OR_FILE...
// A failing input aborts the process (the target's own checks or a
// sanitizer); its path is printed first.
#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace
{

char currentInput[4096] = "";

void onFatalSignal(int sig)
{
    // Only async-signal-safe calls here.
    const char head[] = "replay: failed on input ";
    (void)!write(2, head, sizeof head - 1);
    (void)!write(2, currentInput, std::char_traits<char>::length(currentInput));
    (void)!write(2, "\n", 1);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

std::vector<std::filesystem::path> inputsOf(const std::filesystem::path& arg)
{
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(arg)) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(arg))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        std::sort(files.begin(), files.end());
    } else {
        files.push_back(arg);
    }
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s NAME DIR_OR_FILE...\n", argv[0]);
        return 2;
    }
    std::signal(SIGABRT, onFatalSignal);
    std::signal(SIGSEGV, onFatalSignal);
    const std::string name = argv[1];
    long replayed = 0;
    for (int i = 2; i < argc; ++i) {
        if (!std::filesystem::exists(argv[i])) {
            std::fprintf(stderr, "%s: no such input: %s\n", name.c_str(), argv[i]);
            return 1;
        }
        for (const auto& file : inputsOf(argv[i])) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                                  std::istreambuf_iterator<char>()};
            const std::string path = file.string();
            const std::size_t n = std::min(path.size(), sizeof currentInput - 1);
            std::copy_n(path.c_str(), n, currentInput);
            currentInput[n] = '\0';
            // libFuzzer hands over a pointer that is never null, also for empty input.
            static const std::uint8_t empty = 0;
            LLVMFuzzerTestOneInput(bytes.empty() ? &empty : bytes.data(), bytes.size());
            ++replayed;
        }
    }
    if (replayed == 0) {
        std::fprintf(stderr, "%s: no inputs to replay\n", name.c_str());
        return 1;
    }
    std::printf("%s: %ld inputs replayed, 0 failed\n", name.c_str(), replayed);
    return 0;
}
