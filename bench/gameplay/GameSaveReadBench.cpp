// Reading large save files, against the title's first frame: a save the
// reader accepts may hold tens of thousands of items, and the title reads
// every slot before it shows.
//
// - ReadLargeSave: one save of about 8.1 MB (40,000 artifacts with one-letter
//   names and lines, 150,000 active-artifact entries), read and validated
//   from disk. "bytes" is its size.
// - TitleSlotList: what the title does at start with five such slots: the
//   save service's first use reads the slot list, and the title's menu asks
//   for it again when it is built. Each iteration is a fresh service, as at
//   a start.
// - ContinueIntoLevel: what the level start does with that save after
//   Continue: every item placed into the player's inventory at its saved
//   place (most of them overlap, so they go to the first free place, on
//   some 1,600 pages), then every active entry looked up by its id.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "gameplay/Artifact.h"
#include "gameplay/GameSaveFile.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/ItemMakers.h"
#include "gameplay/PlayerInventory.h"
#include "support/BenchSupport.h"

namespace
{

using namespace mirefell;

constexpr int ArtifactCount = 40'000;
constexpr int ActiveEntryCount = 150'000;

// Writes the large save into `path`.
void WriteLargeSave(const std::string& path, int32_t slot)
{
    GameSave save;
    save.slot = slot;
    save.difficulty = GameDifficulty::Normal;
    save.saveTime = 1'700'000'000 + slot;
    std::vector<std::unique_ptr<Artifact>> owned;
    owned.reserve(ArtifactCount);
    for (int i = 0; i < ArtifactCount; ++i) {
        std::unique_ptr<Artifact> artifact = MakeArtifactBoots();
        artifact->name = std::wstring(1, static_cast<wchar_t>(L'a' + i % 26));
        artifact->line1 = artifact->name;
        artifact->line2 = artifact->name;
        // 25 places of 2 x 2 cells on each of the first ten pages; the
        // player's inventory moves the ones that overlap.
        artifact->x = (i % 5) * 2;
        artifact->y = (i / 5 % 50) * 2;
        save.items.push_back(artifact.get());
        owned.push_back(std::move(artifact));
    }
    save.boundItems.reserve(ActiveEntryCount);
    for (int i = 0; i < ActiveEntryCount; ++i)
        save.boundItems.push_back(owned[static_cast<size_t>(i * 7919 % ArtifactCount)]->id);
    WriteGameSaveFile(path, save);
}

void ReadLargeSave(benchmark::State& state)
{
    testing::ScratchFolder scratch("mirefell-save-read-bench");
    WriteLargeSave("large.mfv", 0);
    for (auto _ : state) {
        LoadedGameSave loaded = ReadGameSaveFile("large.mfv");
        benchmark::DoNotOptimize(loaded.items.data());
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size("large.mfv"));
}
BENCHMARK(ReadLargeSave)->Unit(benchmark::kMillisecond)->UseRealTime();

void ContinueIntoLevel(benchmark::State& state)
{
    testing::ScratchFolder scratch("mirefell-continue-bench");
    WriteLargeSave("large.mfv", 0);
    for (auto _ : state) {
        state.PauseTiming();
        LoadedGameSave loaded = ReadGameSaveFile("large.mfv");
        state.ResumeTiming();
        PlayerInventory inventory;
        for (auto& item : loaded.items) {
            const int32_t x = item->x;
            const int32_t y = item->y;
            inventory.AddItemAt(x, y, std::move(item));
        }
        for (const GUID& id : loaded.save.boundItems)
            benchmark::DoNotOptimize(inventory.GetItem(id));
        benchmark::DoNotOptimize(inventory.GetPageCount());
    }
}
BENCHMARK(ContinueIntoLevel)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void TitleSlotList(benchmark::State& state)
{
    testing::ScratchFolder scratch("mirefell-title-slots-bench");
    std::filesystem::create_directories("saves");
    for (int32_t slot = 0; slot < GameSaveManager::SlotCount; ++slot)
        WriteLargeSave("saves/save" + std::to_string(slot) + ".mfv", slot);
    for (auto _ : state) {
        GameSaveManager saves("saves");
        saves.LoadSlotList(); // the service's first use
        saves.LoadSlotList(); // the title's menu is built
        benchmark::DoNotOptimize(saves.slots.size());
    }
}
BENCHMARK(TitleSlotList)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
