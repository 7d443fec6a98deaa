// SoundManager: the game's sound service. It owns the audio engine, loads
// every sound of the sound table once at start-up, plays sound effects by
// name at the configured sound volume and one looping music track at a time
// at the configured music volume. It also runs the audio engine's service
// after each update step and answers the window's suspend, resume and
// audio-device-arrival events.
//
// Until Initialize has run (tests of game logic, tools) there is no engine:
// every play request still checks its name against the table and then does
// nothing.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace mirefell
{

class AudioEngine;
class SoundEffect;
class SoundEffectInstance;

// One row of the sound table.
struct SoundEntry
{
    std::string file; // relative to "assets/sounds/"
    bool mayOverlap = true;
};

class SoundManager
{
public:
    static constexpr const char* SoundFolder = "assets/sounds/";

    static SoundManager& GetInstance();
    // Keyed by name; looked up with string views, so a name given as a
    // literal costs no allocation.
    using SoundTable = std::map<std::string, SoundEntry, std::less<>>;

    // The 28 named sounds, by name.
    static const SoundTable& GetSoundTable();

    SoundManager();
    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Creates the game's audio engine and loads every sound from
    // "assets/sounds/". A missing or malformed file throws GameError naming
    // it; the sounds are not optional.
    void Initialize();
    // The same on a given engine and folder (tests use a recording device).
    // On failure nothing of the new engine is kept.
    void Initialize(std::unique_ptr<AudioEngine> engine_, const std::string& soundFolder);

    // Plays a sound once at the current sound volume. A sound that may not
    // overlap is skipped while a previous play of it is still running. A
    // name not in the table throws "invalid map<K, T> key".
    void PlaySound(std::string_view name);
    // Replaces the music at once with the named sound, looping, at the
    // current music volume.
    void PlayMusic(std::string_view name);
    // Starts the level's track, unless the music was started for this same
    // level (a restart after death keeps the track going).
    void PlayLevelMusic(const std::string& levelId);
    // Restarts "music_title" from its beginning.
    void PlayTitleMusic();
    // Stops the music and forgets its level (the level was completed).
    void StopMusic();
    // Applies the current music volume to the playing music, for the options
    // page after it changed the setting.
    void ApplyMusicVolume();

    // The audio service, once after every update step: a pending reset
    // request reopens the device (and restarts the music); otherwise the
    // engine is updated, and a lost device raises the reset request.
    void ServiceAudio();
    // Asks for a device reset at the next service (an audio device arrived).
    void RequestAudioReset() { retryAudio = true; }
    // Power suspend or minimised window, and back.
    void Suspend();
    void Resume();
    // At game shutdown: suspends the engine and drops the music.
    void Shutdown();

    const std::string& GetMusicLevelId() const { return musicLevelId; }
    // Back to the state after construction: no engine, no sounds, no music.
    void Reset();

    std::unique_ptr<AudioEngine> engine;
    bool retryAudio = false; // the device was lost or a new one arrived
    std::unique_ptr<SoundEffectInstance> music;

private:
    std::map<std::string, std::unique_ptr<SoundEffect>, std::less<>> sounds;
    std::string musicLevelId; // the level the music was started for
};

} // namespace mirefell
