#include "image/ProfileFile.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QTemporaryDir>

#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#if defined(__unix__)
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace orb;
namespace fs = std::filesystem;

namespace
{

std::vector<std::uint8_t> ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

ImageBytes Pattern(std::uint8_t seed)
{
    ImageBytes image;
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i * 31 + seed);
    image[FileTypeMarkerAddr] = FileTypeMarker;
    return image;
}

class ProfileFileTest : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(tmp.isValid()); }
    fs::path Path(const char* name) const { return fs::path(tmp.path().toStdString()) / name; }
    // Names in the folder: a save leaves no temporary file behind.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(fs::path(tmp.path().toStdString())))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    QTemporaryDir tmp;
};

} // namespace

TEST(ProfileFilePath, AppendsBinUnlessTheNameEndsInBin)
{
    struct Case {
        const char* chosen;
        const char* expected;
    };
    const Case cases[] = {
        {"a", "a.bin"},
        {"a.bin", "a.bin"},
        {"a.BIN", "a.BIN"},
        {"a.Bin", "a.Bin"},
        {"abin", "abin.bin"},
        {"a.bin.txt", "a.bin.txt.bin"},
        {"a.bi", "a.bi.bin"},
        {"dir.bin/a", "dir.bin/a.bin"},
        {"dir/a.bin", "dir/a.bin"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProfileFilePath(c.chosen), fs::path(c.expected)) << c.chosen;
}

TEST_F(ProfileFileTest, SaveThenLoadRoundTrips)
{
    const ImageBytes saved = Pattern(3);
    const fs::path file = Path("profile.bin");
    const ProfileSaveResult s = SaveProfileFile(file, saved);
    ASSERT_TRUE(s.ok) << s.reason;
    EXPECT_TRUE(s.reason.empty());
    EXPECT_EQ(fs::file_size(file), 2048u);
    EXPECT_EQ(ReadAll(file), std::vector<std::uint8_t>(saved.begin(), saved.end()));
    EXPECT_EQ(Names(), std::vector<std::string>{"profile.bin"});

    ImageBytes loaded{};
    const ProfileLoadResult l = LoadProfileFile(file, loaded);
    EXPECT_EQ(l.status, ProfileLoadStatus::Ok);
    EXPECT_EQ(loaded, saved);
}

TEST_F(ProfileFileTest, SaveReplacesAnExistingFile)
{
    const fs::path file = Path("p.bin");
    WriteAll(file, std::vector<std::uint8_t>(5000, 0x11));
    const ImageBytes saved = Pattern(9);
    ASSERT_TRUE(SaveProfileFile(file, saved).ok);
    EXPECT_EQ(ReadAll(file), std::vector<std::uint8_t>(saved.begin(), saved.end()));
}

TEST_F(ProfileFileTest, WrongMarkerIsRefusedAndImageUnchanged)
{
    ImageBytes inFile = Pattern(1);
    inFile[FileTypeMarkerAddr] = 0x98;
    const fs::path file = Path("wrong.bin");
    WriteAll(file, std::vector<std::uint8_t>(inFile.begin(), inFile.end()));

    const ImageBytes current = Pattern(2);
    ImageBytes image = current;
    EXPECT_EQ(LoadProfileFile(file, image).status, ProfileLoadStatus::WrongType);
    EXPECT_EQ(image, current);
}

TEST_F(ProfileFileTest, ShortFileWithMarkerKeepsTheRestOfTheImage)
{
    std::vector<std::uint8_t> bytes(128, 0x42);
    bytes.back() = FileTypeMarker;
    const fs::path file = Path("short.bin");
    WriteAll(file, bytes);

    const ImageBytes current = Pattern(7);
    ImageBytes image = current;
    ASSERT_EQ(LoadProfileFile(file, image).status, ProfileLoadStatus::Ok);
    for (std::size_t i = 0; i < 0x7F; ++i)
        EXPECT_EQ(image[i], 0x42) << i;
    EXPECT_EQ(image[0x7F], 0x99);
    for (std::size_t i = 0x80; i < ImageSize; ++i)
        ASSERT_EQ(image[i], current[i]) << i;
}

TEST_F(ProfileFileTest, FileTooShortToHoldTheMarkerIsRefused)
{
    // The image already carries the marker; it must not vouch for the file.
    const ImageBytes current = Pattern(5);
    for (const std::size_t size : {0u, 1u, 127u}) {
        SCOPED_TRACE(size);
        const fs::path file = Path("tiny.bin");
        WriteAll(file, std::vector<std::uint8_t>(size, FileTypeMarker));
        ImageBytes image = current;
        EXPECT_EQ(LoadProfileFile(file, image).status, ProfileLoadStatus::WrongType);
        EXPECT_EQ(image, current);
    }
}

TEST_F(ProfileFileTest, LongFileLoadsOnlyTheFirst2048Bytes)
{
    const ImageBytes inFile = Pattern(4);
    std::vector<std::uint8_t> bytes(5000, 0xEE);
    std::copy(inFile.begin(), inFile.end(), bytes.begin());
    const fs::path file = Path("long.bin");
    WriteAll(file, bytes);

    ImageBytes image{};
    ASSERT_EQ(LoadProfileFile(file, image).status, ProfileLoadStatus::Ok);
    EXPECT_EQ(image, inFile);
}

TEST_F(ProfileFileTest, UnreadableFileGivesTheSystemsReason)
{
    const ImageBytes current = Pattern(6);
    ImageBytes image = current;

    const ProfileLoadResult missing = LoadProfileFile(Path("missing.bin"), image);
    EXPECT_EQ(missing.status, ProfileLoadStatus::CannotRead);
    EXPECT_EQ(missing.reason, std::make_error_code(std::errc::no_such_file_or_directory).message());

    const ProfileLoadResult folder = LoadProfileFile(Path(""), image);
    EXPECT_EQ(folder.status, ProfileLoadStatus::CannotRead);
    EXPECT_FALSE(folder.reason.empty());
    EXPECT_EQ(image, current);
}

TEST_F(ProfileFileTest, SaveIntoMissingFolderFails)
{
    const ProfileSaveResult r = SaveProfileFile(Path("no-such-folder") / "p.bin", Pattern(0));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.reason, std::make_error_code(std::errc::no_such_file_or_directory).message());
}

TEST_F(ProfileFileTest, TargetThatCannotBeReplacedStaysAndNoTemporaryRemains)
{
    // A folder in the target's place: the bytes are written but cannot take its place.
    const fs::path target = Path("taken.bin");
    fs::create_directory(target);
    WriteAll(target / "inside", {1, 2, 3});
    const ProfileSaveResult r = SaveProfileFile(target, Pattern(0));
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(ReadAll(target / "inside"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(Names(), std::vector<std::string>{"taken.bin"});
}

#if defined(__unix__)
TEST_F(ProfileFileTest, SavingThroughALinkReplacesTheLinkedFile)
{
    ASSERT_TRUE(SaveProfileFile(Path("real.bin"), Pattern(1)).ok);
    fs::create_symlink(Path("real.bin"), Path("link.bin"));
    ASSERT_TRUE(SaveProfileFile(Path("link.bin"), Pattern(2)).ok);
    EXPECT_TRUE(fs::is_symlink(Path("link.bin")));
    const ImageBytes expected = Pattern(2);
    EXPECT_EQ(ReadAll(Path("real.bin")), std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(Names(), (std::vector<std::string>{"link.bin", "real.bin"}));
}

// Saves under a file size limit of 1000 bytes, below one image, so the write
// itself fails half way, even for root.
static ProfileSaveResult SaveUnderASizeLimit(const fs::path& file, const ImageBytes& image)
{
    rlimit saved{};
    EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1000;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const ProfileSaveResult r = SaveProfileFile(file, image);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    return r;
}

TEST_F(ProfileFileTest, FailedWriteLeavesTheOldFileAsItWas)
{
    const fs::path file = Path("old.bin");
    const ImageBytes old = Pattern(8);
    ASSERT_TRUE(SaveProfileFile(file, old).ok);

    // A file size limit below one image makes the write itself fail, even for root.
    const ProfileSaveResult r = SaveUnderASizeLimit(file, Pattern(9));

    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.reason, std::make_error_code(std::errc::file_too_large).message());
    EXPECT_EQ(ReadAll(file), std::vector<std::uint8_t>(old.begin(), old.end()));
    EXPECT_EQ(Names(), std::vector<std::string>{"old.bin"});
}
#endif

#if defined(__unix__)
// What the user set on an existing profile survives a save over it: its
// mode, its other names, its owner; a read-only profile is refused.
TEST_F(ProfileFileTest, SavingOverAProfileKeepsWhatTheUserSetOnIt)
{
    struct Case {
        const char* name;
        mode_t mode;
        bool hardLink;
        bool otherOwner; // only an administrator can give the file away
        bool refused;
    };
    const Case cases[] = {
        {"private", 0600, false, false, false},    {"group-readable", 0640, false, false, false},
        {"second name", 0644, true, false, false}, {"another owner", 0664, false, true, false},
        {"read-only", 0444, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = Path("profile.bin");
        const fs::path other = Path("other-name.bin");
        fs::remove(file);
        fs::remove(other);
        const ImageBytes old = Pattern(1);
        WriteAll(file, std::vector<std::uint8_t>(old.begin(), old.end()));
        if (c.hardLink)
            fs::create_hard_link(file, other);
        const uid_t nobody = 65534;
        if (c.otherOwner) {
            if (geteuid() != 0)
                continue;
            ASSERT_EQ(chown(file.c_str(), nobody, nobody), 0);
        }
        ASSERT_EQ(chmod(file.c_str(), c.mode), 0);
        struct stat before {
        };
        ASSERT_EQ(stat(file.c_str(), &before), 0);

        const ImageBytes saved = Pattern(2);
        const ProfileSaveResult r = SaveProfileFile(file, saved);

        struct stat after {
        };
        ASSERT_EQ(stat(file.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode & 07777, c.mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        const std::vector<std::uint8_t> expected =
            c.refused ? std::vector<std::uint8_t>(old.begin(), old.end())
                      : std::vector<std::uint8_t>(saved.begin(), saved.end());
        EXPECT_EQ(r.ok, !c.refused) << r.reason;
        if (c.refused) {
            EXPECT_EQ(r.reason, std::make_error_code(std::errc::permission_denied).message());
        }
        EXPECT_EQ(ReadAll(file), expected);
        if (c.hardLink) {
            EXPECT_EQ(after.st_ino, before.st_ino);
            EXPECT_EQ(ReadAll(other), expected);
        }
        fs::remove(other);
        EXPECT_EQ(Names(), std::vector<std::string>{"profile.bin"}); // no temporary left
    }
}

TEST_F(ProfileFileTest, AFailedWriteIntoAProfileWithTwoNamesPutsTheOldBytesBack)
{
    // A short profile with a second name is written in place; a file size
    // limit below one image makes that write fail half way.
    const fs::path file = Path("short.bin");
    const std::vector<std::uint8_t> old(600, 0x99);
    WriteAll(file, old);
    fs::create_hard_link(file, Path("again.bin"));

    const ProfileSaveResult r = SaveUnderASizeLimit(file, Pattern(9));

    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.reason, std::make_error_code(std::errc::file_too_large).message());
    EXPECT_EQ(ReadAll(file), old);
    EXPECT_EQ(ReadAll(Path("again.bin")), old);
}
#endif
