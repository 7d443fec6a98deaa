#include "shell/SoundManager.h"

#include "platform/Lookup.h"
#include "platform/audio/AudioEngine.h"
#include "platform/audio/SoundEffect.h"
#include "platform/audio/SoundEffectInstance.h"
#include "shell/Config.h"
#include "shell/Levels.h"

namespace mirefell
{

SoundManager& SoundManager::GetInstance()
{
    static SoundManager instance;
    return instance;
}

const SoundManager::SoundTable& SoundManager::GetSoundTable()
{
    static const SoundTable table = {
        {"music_title", {"music/title.wav", true}},
        {"music_track1", {"music/track1.wav", true}},
        {"music_track2", {"music/track2.wav", true}},
        {"music_track3", {"music/track3.wav", true}},
        {"door_close", {"door_close.wav", true}},
        {"door_open", {"door_open.wav", true}},
        {"elevator_move", {"elevator_move.wav", false}},
        {"elevator_stop", {"elevator_stop.wav", false}},
        {"eye_charging", {"eye_charging.wav", false}},
        {"hyper_blaster_fire", {"hyper_blaster_fire.wav", true}},
        {"hyper_blaster_hit", {"hyper_blaster_hit.wav", true}},
        {"monster_bite", {"monster_bite.wav", true}},
        {"monster_roar", {"monster_roar.wav", false}},
        {"pickup_ammo", {"pickup_ammo.wav", true}},
        {"pickup_item", {"pickup_item.wav", true}},
        {"pickup_weapon", {"pickup_weapon.wav", true}},
        {"player_death", {"player_death.wav", true}},
        {"shotgun_fire", {"shotgun_fire.wav", true}},
        {"switch_on", {"switch_on.wav", true}},
        {"jump", {"jump.wav", true}},
        {"teleport", {"teleport.wav", true}},
        {"rocket_launcher_fire", {"rocket_launcher_fire.wav", true}},
        {"explosion", {"hyper_blaster_hit.wav", true}}, // the blaster's impact doubles as the rocket's blast
        {"hammer_swing", {"hammer_swing.wav", true}},
        {"hammer_hit", {"hammer_hit.wav", true}},
        {"hammer_hit_flesh", {"hammer_hit_flesh.wav", true}},
        {"shield_hit", {"shield_hit.wav", true}},
        {"inventory_click", {"inventory_click.wav", true}},
    };
    return table;
}

SoundManager::SoundManager() = default;

SoundManager::~SoundManager()
{
    Reset();
}

void SoundManager::Initialize()
{
    Initialize(AudioEngine::CreateDefault(), SoundFolder);
}

void SoundManager::Initialize(std::unique_ptr<AudioEngine> engine_, const std::string& soundFolder)
{
    Reset();
    // Built aside and taken over whole, so a bad file leaves no half-loaded
    // state; on the way out the effects go before their engine.
    std::map<std::string, std::unique_ptr<SoundEffect>, std::less<>> loaded;
    try {
        for (const auto& [name, entry] : GetSoundTable())
            loaded.emplace(name, std::make_unique<SoundEffect>(*engine_, soundFolder + entry.file));
    } catch (...) {
        loaded.clear();
        throw;
    }
    engine = std::move(engine_);
    retryAudio = false;
    sounds = std::move(loaded);
}

void SoundManager::PlaySound(std::string_view name)
{
    const SoundEntry& entry = MapAt(GetSoundTable(), name);
    if (!engine)
        return;
    SoundEffect& effect = *MapAt(sounds, name);
    if (!entry.mayOverlap && effect.IsInUse())
        return;
    effect.Play(Config::GetInstance().settings.soundVolume, 0.0f, 0.0f);
}

void SoundManager::PlayMusic(std::string_view name)
{
    MapAt(GetSoundTable(), name);
    music.reset();
    if (!engine)
        return;
    music = MapAt(sounds, name)->CreateInstance();
    music->SetVolume(Config::GetInstance().settings.musicVolume);
    music->Play(true);
}

void SoundManager::PlayLevelMusic(const std::string& levelId)
{
    if (levelId == musicLevelId)
        return;
    const LevelInfo& level = Levels::GetLevel(levelId);
    musicLevelId = levelId;
    music.reset();
    PlayMusic(level.musicTrack);
}

void SoundManager::PlayTitleMusic()
{
    musicLevelId.clear();
    music.reset();
    PlayMusic("music_title");
}

void SoundManager::StopMusic()
{
    musicLevelId.clear();
    music.reset();
}

void SoundManager::ApplyMusicVolume()
{
    if (music)
        music->SetVolume(Config::GetInstance().settings.musicVolume);
}

void SoundManager::ServiceAudio()
{
    if (!engine)
        return;
    if (retryAudio) {
        retryAudio = false;
        if (engine->Reset() && music)
            music->Play(true);
    } else if (!engine->Update() && engine->IsCriticalError()) {
        retryAudio = true;
    }
}

void SoundManager::Suspend()
{
    if (engine)
        engine->Suspend();
}

void SoundManager::Resume()
{
    if (engine)
        engine->Resume();
}

void SoundManager::Shutdown()
{
    if (engine)
        engine->Suspend();
    music.reset();
}

void SoundManager::Reset()
{
    // Instances before effects before the engine they play on.
    music.reset();
    sounds.clear();
    engine.reset();
    retryAudio = false;
    musicLevelId.clear();
}

} // namespace mirefell
