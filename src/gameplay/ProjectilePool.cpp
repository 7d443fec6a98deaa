// ProjectilePool: slots for projectiles and their cell lists.
#include "gameplay/ProjectilePool.h"

#include <cstdint>
#include <new>

#include "gameplay/Projectile.h"
#include "world/GridObject.h"

namespace mirefell
{

struct ProjectilePool::Slot
{
    alignas(Projectile) std::byte bytes[sizeof(Projectile)];
};

ProjectilePool& ProjectilePool::GetInstance()
{
    // Never destroyed: a World torn down during exit after this function's
    // statics would otherwise give storage back to a destroyed pool.
    static ProjectilePool* instance = new ProjectilePool;
    return *instance;
}

ProjectilePool::ProjectilePool() : slots(std::make_unique<Slot[]>(Capacity)), cellLists(Capacity)
{
    freeSlots.reserve(Capacity);
    for (size_t i = Capacity; i > 0; --i)
        freeSlots.push_back(static_cast<uint32_t>(i - 1));
    for (std::vector<GridCell*>& cells : cellLists)
        cells.reserve(GridObject::ReservedCells);
}

ProjectilePool::~ProjectilePool() = default;

size_t ProjectilePool::SlotOf(const void* object) const
{
    const auto address = reinterpret_cast<std::uintptr_t>(object);
    const auto first = reinterpret_cast<std::uintptr_t>(slots.get());
    if (address < first || address >= first + Capacity * sizeof(Slot))
        return Capacity;
    return (address - first) / sizeof(Slot);
}

bool ProjectilePool::Owns(const void* object) const
{
    return SlotOf(object) != Capacity;
}

void* ProjectilePool::Allocate(size_t size)
{
    if (size > sizeof(Slot) || freeSlots.empty())
        return ::operator new(size);
    const uint32_t slot = freeSlots.back();
    freeSlots.pop_back();
    return slots[slot].bytes;
}

void ProjectilePool::Free(void* storage)
{
    if (!storage)
        return;
    const size_t slot = SlotOf(storage);
    if (slot == Capacity)
        ::operator delete(storage);
    else
        freeSlots.push_back(static_cast<uint32_t>(slot));
}

std::vector<GridCell*> ProjectilePool::TakeCells(const void* object)
{
    std::vector<GridCell*> cells;
    const size_t slot = SlotOf(object);
    if (slot != Capacity)
        cells.swap(cellLists[slot]);
    cells.clear();
    // A slot's list is gone only when a constructor threw after taking it.
    if (cells.capacity() < GridObject::ReservedCells)
        cells.reserve(GridObject::ReservedCells);
    return cells;
}

void ProjectilePool::ReturnCells(const void* object, std::vector<GridCell*> cells)
{
    const size_t slot = SlotOf(object);
    if (slot == Capacity)
        return;
    cells.clear();
    cellLists[slot].swap(cells);
}

} // namespace mirefell
