// Archive files: our header beside Boost's bytes, and corrupt files failing
// cleanly instead of allocating what a garbage count asks for.
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <boost/archive/binary_oarchive.hpp>
#include <boost/serialization/base_object.hpp>
#include <boost/serialization/map.hpp>
#include <boost/serialization/string.hpp>
#include <boost/serialization/vector.hpp>
#include <gtest/gtest.h>

#include "shell/BinaryArchive.h"
#include "support/AllocationCounter.h"
#include "support/TempDir.h"

namespace mirefell
{
namespace
{

using testing::LargestAllocation;
using testing::ResetLargestAllocation;
using testing::TempDir;
using testing::TemporaryCopiesOf;

struct Record
{
    std::map<int, std::string> names;
    std::vector<int> numbers;
    std::wstring label;
    bool operator==(const Record&) const = default;

    template <class Archive> void serialize(Archive& ar, unsigned)
    {
        ar& names;
        ar& numbers;
        ar& label;
    }
};

struct Base
{
    virtual ~Base() = default;
    int value = 0;
    template <class Archive> void serialize(Archive& ar, unsigned) { ar& value; }
};

struct Derived : Base
{
    std::string extra;
    template <class Archive> void serialize(Archive& ar, unsigned)
    {
        ar& boost::serialization::base_object<Base>(*this);
        ar& extra;
    }
};

Record Sample()
{
    return {{{1, "one"}, {7, "seven"}}, {3, 1, 4, 1, 5}, L"Rocket Launcher"};
}

TEST(BinaryArchive, HeaderIsBoostsWithLibraryVersion14)
{
    std::ostringstream ours;
    WriteArchiveHeader(ours);
    std::ostringstream boosts;
    {
        boost::archive::binary_oarchive archive(boosts);
    }
    const std::string a = ours.str(), b = boosts.str();
    ASSERT_EQ(a.size(), 40u);
    ASSERT_EQ(b.size(), 40u);
    // Only the library version differs.
    EXPECT_EQ(a.substr(0, 30), b.substr(0, 30));
    EXPECT_EQ(a.substr(32), b.substr(32));
    EXPECT_EQ(static_cast<unsigned char>(a[30]), 14);
    EXPECT_EQ(a[31], 0);
}

TEST(BinaryArchive, FilesRoundTripAndMatchBoostsBodyBytes)
{
    TempDir dir;
    const Record written = Sample();
    WriteArchiveFile(dir.File("r.bin"), [&](ArchiveWriter& ar) { ar << written; });

    std::ostringstream boosts;
    {
        boost::archive::binary_oarchive archive(boosts);
        archive << written;
    }
    const std::string file = dir.Read("r.bin");
    EXPECT_EQ(file.substr(40), boosts.str().substr(40));

    Record read;
    ReadArchiveFile(dir.File("r.bin"), [&](ArchiveReader& ar) { ar >> read; });
    EXPECT_EQ(read, written);
}

TEST(BinaryArchive, ReadsFilesThatBoostWroteWithItsOwnHeader)
{
    TempDir dir;
    std::ostringstream boosts;
    {
        boost::archive::binary_oarchive archive(boosts);
        archive << Sample();
    }
    dir.Write("boost.bin", boosts.str());
    Record read;
    ReadArchiveFile(dir.File("boost.bin"), [&](ArchiveReader& ar) { ar >> read; });
    EXPECT_EQ(read, Sample());
}

TEST(BinaryArchive, PolymorphicPointersWithRegisteredTypes)
{
    TempDir dir;
    std::vector<Base*> written{new Derived, new Derived};
    static_cast<Derived*>(written[0])->extra = "hammer";
    written[1]->value = 9;
    WriteArchiveFile(dir.File("p.bin"), [&](ArchiveWriter& ar) {
        ar.register_type<Derived>();
        ar << written;
    });
    std::vector<Base*> read;
    ReadArchiveFile(dir.File("p.bin"), [&](ArchiveReader& ar) {
        ar.register_type<Derived>();
        ar >> read;
    });
    ASSERT_EQ(read.size(), 2u);
    ASSERT_NE(dynamic_cast<Derived*>(read[0]), nullptr);
    EXPECT_EQ(static_cast<Derived*>(read[0])->extra, "hammer");
    EXPECT_EQ(read[1]->value, 9);
    for (Base* p : written)
        delete p;
    for (Base* p : read)
        delete p;
}

class CorruptArchive : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteArchiveFile(dir.File("good.bin"), [&](ArchiveWriter& ar) { ar << Sample(); });
        good = dir.Read("good.bin");
    }
    // Reads `bytes` as a Record and returns the error text, or "" on success.
    std::string ReadBytes(const std::string& bytes)
    {
        dir.Write("bad.bin", bytes);
        try {
            Record read;
            ReadArchiveFile(dir.File("bad.bin"), [&](ArchiveReader& ar) { ar >> read; });
            return "";
        } catch (const ArchiveError& error) {
            return error.Describe();
        }
    }
    TempDir dir;
    std::string good;
};

TEST_F(CorruptArchive, MissingFileNamesTheFile)
{
    try {
        ReadArchiveFile(dir.File("absent.bin"), [](ArchiveReader&) {});
        FAIL();
    } catch (const ArchiveError& error) {
        EXPECT_STREQ(error.what(), "can't access file");
        EXPECT_NE(error.Detail().find("absent.bin"), std::string::npos);
    }
}

TEST_F(CorruptArchive, EveryTruncationFails)
{
    for (size_t length = 0; length < good.size(); ++length)
        EXPECT_NE(ReadBytes(good.substr(0, length)), "") << "truncated to " << length;
    EXPECT_EQ(ReadBytes(good), "");
}

// Whatever point a file is cut at, or a length in it damaged at, the
// message says so and names the file, rather than the library's "input
// stream error".
TEST_F(CorruptArchive, ACutOrDamagedFileSaysSoAndNamesTheFile)
{
    int endedInData = 0;
    for (size_t length = 0; length < good.size(); ++length) {
        const std::string said = ReadBytes(good.substr(0, length));
        EXPECT_NE(said.find("bad.bin: the file is damaged or cut short"), std::string::npos) << length << ": " << said;
        endedInData += said.find(": it ends in the middle of its data") != std::string::npos ? 1 : 0;
    }
    EXPECT_GT(endedInData, 0) << "a cut inside a number";
    EXPECT_NE(ReadBytes("").find(": the file is empty"), std::string::npos);
    EXPECT_NE(ReadBytes(good.substr(0, 20)).find(": the file ends inside its header"), std::string::npos);
    // The first map's count, far beyond the bytes that follow.
    std::string damaged = good;
    damaged[40 + 5] = 0x7f;
    EXPECT_NE(ReadBytes(damaged).find("damaged or cut short: a length, count or value in it is impossible"),
              std::string::npos)
        << ReadBytes(damaged);
}

TEST_F(CorruptArchive, ForeignHeadersAreRefused)
{
    std::string other = good;
    other[10] = 'X'; // signature
    EXPECT_NE(ReadBytes(other).find("not a binary archive"), std::string::npos);
    other = good;
    other[30] = 99; // a library version newer than ours
    EXPECT_NE(ReadBytes(other).find("unsupported library version"), std::string::npos);
    other = good;
    other[33] = 4; // sizeof(long) of another platform
    EXPECT_NE(ReadBytes(other).find("other type sizes"), std::string::npos);
    EXPECT_NE(ReadBytes("garbage that is not an archive at all"), "");
}

TEST_F(CorruptArchive, HugeCountsAndLengthsFailWithoutAllocating)
{
    // Every 8-byte window of the body in turn set to a huge number: each read
    // must either succeed or fail with an error, and none may even ask the
    // heap for terabytes (a refused request would fail the read all the
    // same, so the requests themselves are watched). The file is a few
    // hundred bytes; its reading, and the test's own file handling, take a few
    // kilobytes at most.
    ResetLargestAllocation();
    int failed = 0;
    for (size_t offset = 40; offset + 8 <= good.size(); ++offset) {
        std::string bad = good;
        const uint64_t huge = 0x0000'4000'0000'0000ull;
        std::memcpy(bad.data() + offset, &huge, sizeof huge);
        failed += ReadBytes(bad).empty() ? 0 : 1;
    }
    EXPECT_LT(LargestAllocation(), 64u * 1024u);
    // The counts and lengths lie in the body: setting them makes reads fail.
    EXPECT_GE(failed, 3);
}

TEST_F(CorruptArchive, FailedWriteKeepsTheOldFile)
{
    EXPECT_THROW(WriteArchiveFile(dir.File("good.bin"), [](ArchiveWriter&) { throw std::runtime_error("disk full"); }),
                 ArchiveError);
    EXPECT_EQ(dir.Read("good.bin"), good);
    EXPECT_TRUE(TemporaryCopiesOf(dir.File("good.bin")).empty());
    EXPECT_THROW(WriteArchiveFile(dir.File("missing-folder/x.bin"), [](ArchiveWriter&) {}), ArchiveError);

    // An archive larger than its reader takes would never load again.
    try {
        WriteArchiveFile(
            dir.File("good.bin"), [](ArchiveWriter& ar) { ar << std::string(100, 'x'); }, 100);
        ADD_FAILURE() << "the reader would refuse it";
    } catch (const ArchiveError& error) {
        EXPECT_NE(error.Detail().find("more than such a file can hold (100)"), std::string::npos) << error.Detail();
    }
    EXPECT_EQ(dir.Read("good.bin"), good);
}

} // namespace
} // namespace mirefell
