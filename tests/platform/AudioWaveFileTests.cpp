// WAV files: what we write reads back exactly, the variants other tools write
// are accepted, and every kind of broken file is refused with a message that
// names the file and the fault.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/GameError.h"
#include "platform/audio/WaveFile.h"
#include "support/TempDir.h"

namespace mirefell
{
namespace
{

WaveData Pattern(uint16_t channels, uint16_t bits, uint32_t rate, uint32_t frames)
{
    WaveData wave;
    wave.format = {channels, rate, bits};
    wave.samples.resize(static_cast<size_t>(frames) * wave.format.BlockAlign());
    for (size_t i = 0; i < wave.samples.size(); ++i)
        wave.samples[i] = static_cast<uint8_t>(i * 37 + 11);
    return wave;
}

void PutU16(std::vector<uint8_t>& bytes, size_t at, uint16_t value)
{
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void AppendChunk(std::vector<uint8_t>& bytes, const char* tag, const std::vector<uint8_t>& body)
{
    bytes.insert(bytes.end(), tag, tag + 4);
    const auto size = static_cast<uint32_t>(body.size());
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<uint8_t>(size >> (8 * i)));
    bytes.insert(bytes.end(), body.begin(), body.end());
    if (size & 1u)
        bytes.push_back(0);
}

TEST(WaveFile, EncodedFilesReadBackUnchanged)
{
    for (const WaveData& original :
         {Pattern(1, 16, 44100, 300), Pattern(2, 8, 22050, 5), Pattern(1, 8, 8000, 3), Pattern(2, 16, 48000, 1)}) {
        const std::vector<uint8_t> bytes = EncodeWave(original);
        const WaveData parsed = ParseWave(bytes.data(), bytes.size(), "pattern.wav");
        EXPECT_EQ(parsed.format, original.format);
        EXPECT_EQ(parsed.samples, original.samples);
        EXPECT_EQ(parsed.source, "pattern.wav");
        EXPECT_EQ(parsed.FrameCount(), original.samples.size() / original.format.BlockAlign());
        // An odd data size is padded, and the RIFF size covers the pad.
        EXPECT_EQ(bytes.size() % 2, 0u);
    }
}

TEST(WaveFile, AcceptsExtensibleFormatAndSkipsForeignChunks)
{
    // fmt as WAVE_FORMAT_EXTENSIBLE with the PCM sub-format, after an odd-sized
    // LIST chunk and followed by a cue chunk, as editors write them.
    std::vector<uint8_t> format(40, 0);
    PutU16(format, 0, 0xFFFE);
    PutU16(format, 2, 2);
    PutU32(format, 4, 32000);
    PutU32(format, 8, 128000);
    PutU16(format, 12, 4);
    PutU16(format, 14, 16);
    PutU16(format, 16, 22);
    PutU16(format, 18, 16);
    PutU32(format, 20, 3);
    const uint8_t pcm[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                             0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    std::memcpy(format.data() + 24, pcm, 16);

    std::vector<uint8_t> bytes = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    AppendChunk(bytes, "LIST", {1, 2, 3});
    AppendChunk(bytes, "fmt ", format);
    AppendChunk(bytes, "data", {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0});
    AppendChunk(bytes, "cue ", {0, 0, 0, 0});
    PutU32(bytes, 4, static_cast<uint32_t>(bytes.size() - 8));

    const WaveData wave = ParseWave(bytes.data(), bytes.size(), "edited.wav");
    EXPECT_EQ(wave.format, (WaveFormat{2, 32000, 16}));
    EXPECT_EQ(wave.FrameCount(), 4u);
    EXPECT_EQ(wave.samples[0], 1);
    EXPECT_EQ(wave.samples[14], 8);
}

TEST(WaveFile, DropsATrailingPartialFrame)
{
    std::vector<uint8_t> bytes = EncodeWave(Pattern(2, 16, 44100, 3));
    // Grow the data chunk by two bytes: half a stereo frame.
    bytes.push_back(0x55);
    bytes.push_back(0x66);
    PutU32(bytes, 40, 3 * 4 + 2);
    const WaveData wave = ParseWave(bytes.data(), bytes.size(), "ragged.wav");
    EXPECT_EQ(wave.FrameCount(), 3u);
    EXPECT_EQ(wave.samples.size(), 12u);
}

TEST(WaveFile, RefusesBrokenFilesNamingFileAndFault)
{
    // Offsets in the canonical 44-byte header: 20 format tag, 22 channels,
    // 24 rate, 32 block align, 34 bits, 40 data size.
    struct Case
    {
        const char* label;
        std::function<void(std::vector<uint8_t>&)> damage;
        const char* fault;
    };
    const Case cases[] = {
        {"not riff", [](auto& b) { b[0] = 'X'; }, "not a RIFF WAVE file"},
        {"not wave", [](auto& b) { b[8] = 'A'; }, "not a RIFF WAVE file"},
        {"too short", [](auto& b) { b.resize(10); }, "not a RIFF WAVE file"},
        {"float samples", [](auto& b) { PutU16(b, 20, 3); }, "not PCM data"},
        {"three channels", [](auto& b) { PutU16(b, 22, 3); }, "3 channels"},
        {"24-bit", [](auto& b) { PutU16(b, 34, 24); }, "24-bit samples"},
        {"zero rate", [](auto& b) { PutU32(b, 24, 0); }, "sample rate 0"},
        {"bad alignment", [](auto& b) { PutU16(b, 32, 3); }, "block alignment 3"},
        {"data past end", [](auto& b) { PutU32(b, 40, 100000); }, "data chunk runs past the end"},
        {"empty data",
         [](auto& b) {
             PutU32(b, 40, 0);
             b.resize(44);
         },
         "no sample data"},
        {"data shorter than a frame",
         [](auto& b) {
             PutU32(b, 40, 1);
             b.resize(46);
         },
         "no sample data"},
        {"no fmt", [](auto& b) { std::memcpy(b.data() + 12, "junk", 4); }, "no fmt chunk"},
        {"no data", [](auto& b) { std::memcpy(b.data() + 36, "junk", 4); }, "no data chunk"},
        {"short fmt",
         [](auto& b) {
             b.resize(12);
             AppendChunk(b, "fmt ", std::vector<uint8_t>(14, 1));
             AppendChunk(b, "data", {0, 0});
         },
         "fmt chunk too short"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<uint8_t> bytes = EncodeWave(Pattern(1, 16, 44100, 8));
        c.damage(bytes);
        try {
            ParseWave(bytes.data(), bytes.size(), "sounds/broken.wav");
            ADD_FAILURE() << "accepted";
        } catch (const GameError& error) {
            EXPECT_STREQ(error.what(), "invalid wave file");
            EXPECT_EQ(error.Detail().rfind("sounds/broken.wav: ", 0), 0u) << error.Detail();
            EXPECT_NE(error.Detail().find(c.fault), std::string::npos) << error.Detail();
        }
    }
}

TEST(WaveFile, LoadingReportsMissingAndBrokenFilesByPath)
{
    testing::TempDir folder;
    const std::string missing = folder.File("missing.wav");
    try {
        LoadWaveFile(missing);
        ADD_FAILURE() << "a missing file loaded";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "can't access file");
        EXPECT_EQ(error.Detail(), missing);
    }

    folder.Write("text.wav", "this is not a sound");
    try {
        LoadWaveFile(folder.File("text.wav"));
        ADD_FAILURE() << "a text file loaded";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "invalid wave file");
        EXPECT_NE(error.Detail().find(folder.File("text.wav")), std::string::npos);
    }

    const std::vector<uint8_t> bytes = EncodeWave(Pattern(1, 16, 44100, 10));
    folder.Write("good.wav", std::string(bytes.begin(), bytes.end()));
    const WaveData wave = LoadWaveFile(folder.File("good.wav"));
    EXPECT_EQ(wave.FrameCount(), 10u);
    EXPECT_EQ(wave.source, folder.File("good.wav"));
}

} // namespace
} // namespace mirefell
