// SoundTestSupport: the sound manager over the recording device, with a
// silent file in place of every sound of the table, for tests that check
// what the game decides to play. Header-only (it needs the shell).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/audio/AudioEngine.h"
#include "platform/audio/RecordingAudioDevice.h"
#include "platform/audio/WaveFile.h"
#include "shell/SoundManager.h"
#include "support/TempDir.h"

namespace mirefell::testing
{

// Writes "sounds/<file>" in `folder`, a silent 8 kHz file of `musicSeconds`
// for every music track and of `effectSeconds` for every other sound.
inline void WriteSilentSoundFolder(const TempDir& folder, double effectSeconds = 0.5, double musicSeconds = 2.0)
{
    for (const auto& [name, entry] : SoundManager::GetSoundTable()) {
        const bool isMusic = entry.file.rfind("music/", 0) == 0;
        WaveData wave;
        wave.format = {1, 8000, 16};
        wave.samples.assign(static_cast<size_t>((isMusic ? musicSeconds : effectSeconds) * 8000) * 2, 0);
        const std::vector<uint8_t> bytes = EncodeWave(wave);
        folder.Write("sounds/" + entry.file, std::string(bytes.begin(), bytes.end()));
    }
}

// Starts the sound manager on a recording device over silent files in
// `folder`; the device stays the manager's (until its Reset).
inline RecordingAudioDevice* StartRecordingSound(SoundManager& sounds, const TempDir& folder)
{
    WriteSilentSoundFolder(folder);
    auto recording = std::make_unique<RecordingAudioDevice>();
    RecordingAudioDevice* device = recording.get();
    sounds.Initialize(std::make_unique<AudioEngine>(std::move(recording)), folder.File("sounds/"));
    return device;
}

} // namespace mirefell::testing
