#include "platform/audio/WaveFile.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/GameError.h"

namespace mirefell
{

namespace
{

constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatExtensible = 0xFFFE;
// The tail of KSDATAFORMAT_SUBTYPE_PCM after its first two bytes (which hold
// the format tag).
constexpr uint8_t PcmSubtypeTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t ReadU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

void PutU16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(tag[i]));
}

[[noreturn]] void Fail(const std::string& source, const std::string& fault)
{
    throw GameError("invalid wave file", source + ": " + fault);
}

WaveFormat ParseFormat(const uint8_t* chunk, uint32_t size, const std::string& source)
{
    if (size < 16)
        Fail(source, "fmt chunk too short");
    uint16_t tag = ReadU16(chunk);
    if (tag == FormatExtensible) {
        if (size < 40 || ReadU16(chunk + 16) < 22)
            Fail(source, "extensible fmt chunk too short");
        const uint8_t* subtype = chunk + 24;
        if (std::memcmp(subtype + 2, PcmSubtypeTail, sizeof PcmSubtypeTail) != 0)
            Fail(source, "not PCM data");
        tag = ReadU16(subtype);
    }
    if (tag != FormatPcm)
        Fail(source, "not PCM data (format " + std::to_string(tag) + ")");

    WaveFormat format;
    format.channels = ReadU16(chunk + 2);
    format.sampleRate = ReadU32(chunk + 4);
    const uint16_t blockAlign = ReadU16(chunk + 12);
    format.bitsPerSample = ReadU16(chunk + 14);
    if (format.channels != 1 && format.channels != 2)
        Fail(source, std::to_string(format.channels) + " channels (1 or 2 supported)");
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
        Fail(source, std::to_string(format.bitsPerSample) + "-bit samples (8 or 16 supported)");
    if (format.sampleRate < 1000 || format.sampleRate > 192000)
        Fail(source, "sample rate " + std::to_string(format.sampleRate) + " out of range");
    if (blockAlign != format.BlockAlign())
        Fail(source, "block alignment " + std::to_string(blockAlign) + " does not match the format");
    return format;
}

} // namespace

WaveData ParseWave(const uint8_t* bytes, size_t size, const std::string& source)
{
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        Fail(source, "not a RIFF WAVE file");
    if (size > MaxWaveFileBytes)
        Fail(source, "file too large");

    // Writers that stream often leave the RIFF size wrong; the file's own
    // length is the bound that matters.
    const size_t end = size;
    const uint8_t* format = nullptr;
    uint32_t formatSize = 0;
    const uint8_t* data = nullptr;
    uint32_t dataSize = 0;

    size_t offset = 12;
    while (offset + 8 <= end) {
        const uint8_t* header = bytes + offset;
        const uint32_t chunkSize = ReadU32(header + 4);
        const size_t body = offset + 8;
        if (chunkSize > end - body)
            Fail(source,
                 std::string(reinterpret_cast<const char*>(header), 4) + " chunk runs past the end of the file");
        if (std::memcmp(header, "fmt ", 4) == 0 && !format) {
            format = bytes + body;
            formatSize = chunkSize;
        } else if (std::memcmp(header, "data", 4) == 0 && !data) {
            data = bytes + body;
            dataSize = chunkSize;
        }
        offset = body + chunkSize + (chunkSize & 1u); // chunks are padded to even sizes
    }
    if (!format)
        Fail(source, "no fmt chunk");
    if (!data)
        Fail(source, "no data chunk");

    WaveData wave;
    wave.format = ParseFormat(format, formatSize, source);
    wave.source = source;
    // A trailing partial frame cannot be played; it is dropped.
    const uint32_t usable = dataSize - dataSize % wave.format.BlockAlign();
    if (usable == 0)
        Fail(source, "no sample data");
    wave.samples.assign(data, data + usable);
    return wave;
}

WaveData LoadWaveFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw GameError("can't access file", path);
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    if (length < 0)
        throw GameError("can't access file", path);
    if (static_cast<uint64_t>(length) > MaxWaveFileBytes)
        Fail(path, "file too large");
    file.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes(static_cast<size_t>(length));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), length))
        throw GameError("can't access file", path);
    return ParseWave(bytes.data(), bytes.size(), path);
}

std::vector<uint8_t> EncodeWave(const WaveData& wave)
{
    const auto dataSize = static_cast<uint32_t>(wave.samples.size());
    std::vector<uint8_t> out;
    out.reserve(44 + dataSize + 1);
    PutTag(out, "RIFF");
    PutU32(out, 36 + dataSize + (dataSize & 1u));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, FormatPcm);
    PutU16(out, wave.format.channels);
    PutU32(out, wave.format.sampleRate);
    PutU32(out, wave.format.sampleRate * wave.format.BlockAlign());
    PutU16(out, static_cast<uint16_t>(wave.format.BlockAlign()));
    PutU16(out, wave.format.bitsPerSample);
    PutTag(out, "data");
    PutU32(out, dataSize);
    out.insert(out.end(), wave.samples.begin(), wave.samples.end());
    if (dataSize & 1u)
        out.push_back(0);
    return out;
}

} // namespace mirefell
