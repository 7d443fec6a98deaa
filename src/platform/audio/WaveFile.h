// WAV files: RIFF PCM sound data read from disk or memory, and written back by
// the asset generator. This unit owns the file format only; playing the
// samples is the audio device's business.
//
// Accepted: a RIFF "WAVE" file with a "fmt " chunk of plain PCM (or
// WAVE_FORMAT_EXTENSIBLE carrying PCM), 1 or 2 channels, 8 or 16 bits, and a
// non-empty "data" chunk; other chunks are skipped. Anything else throws a
// GameError whose detail names the file and the fault, so a bad sound file
// never reaches the mixer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mirefell
{

struct WaveFormat
{
    uint16_t channels = 1;       // 1 mono, 2 stereo (left, right interleaved)
    uint32_t sampleRate = 44100; // frames per second
    uint16_t bitsPerSample = 16; // 8: unsigned bytes, 16: signed little-endian

    uint32_t BlockAlign() const { return channels * (bitsPerSample / 8u); }
    bool operator==(const WaveFormat&) const = default;
};

struct WaveData
{
    WaveFormat format;
    std::vector<uint8_t> samples; // whole frames, as stored in the file
    std::string source;           // the file it came from, for messages

    uint32_t FrameCount() const { return static_cast<uint32_t>(samples.size() / format.BlockAlign()); }
    double Duration() const { return static_cast<double>(FrameCount()) / format.sampleRate; }
};

// Files larger than this are refused rather than read whole.
inline constexpr size_t MaxWaveFileBytes = 64u << 20;

// Parses a whole WAV file held in memory; `source` names it in errors.
// Throws GameError("invalid wave file", "<source>: <fault>").
WaveData ParseWave(const uint8_t* bytes, size_t size, const std::string& source);

// Reads and parses a file. A file that cannot be opened throws
// GameError("can't access file", path); a malformed one as ParseWave.
WaveData LoadWaveFile(const std::string& path);

// The canonical 44-byte-header PCM file for `wave`.
std::vector<uint8_t> EncodeWave(const WaveData& wave);

} // namespace mirefell
