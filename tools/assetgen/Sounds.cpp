// Writes every sound and music file of the game's sound table into
// "<run folder>/assets/sounds/". The table decides which files must exist; a
// file without a maker here stops the build, so the table and the generator
// cannot drift apart.
#include <set>
#include <stdexcept>

#include "AssetGenerator.h"
#include "SoundsSynth.h"
#include "shell/SoundManager.h"

namespace mirefell::assetgen
{

namespace
{

void GenerateSounds(const std::filesystem::path& runDir)
{
    SoundMakers makers;
    AddEffectMakers(makers);
    AddMusicMakers(makers);

    std::set<std::string> files;
    for (const auto& [name, entry] : SoundManager::GetSoundTable())
        files.insert(entry.file);
    for (const std::string& file : files) {
        const auto maker = makers.find(file);
        if (maker == makers.end())
            throw std::runtime_error("no sound maker for " + file);
        WaveData wave = maker->second();
        wave.source = file;
        const std::vector<uint8_t> bytes = EncodeWave(wave);
        WriteFileBytes(runDir / SoundManager::SoundFolder / file, bytes.data(), bytes.size());
    }
}

const AssetGenerator sounds("sounds", GenerateSounds);

} // namespace

} // namespace mirefell::assetgen
