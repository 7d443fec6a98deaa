// ProjectilePool: the storage of the shots in flight, so that a shot fired
// in play allocates nothing. It holds room for Capacity projectiles and, for
// each slot, a cell list with room reserved; Projectile's own operator new
// and delete take and give back a slot, and its constructor and destructor
// take and give back the slot's cell list. The World keeps owning its
// projectiles through std::unique_ptr as it owns every object.
//
// When every slot is taken (or an object does not fit a slot) the storage
// comes from the heap and a cell list is made as for any other object, so
// running out costs allocations, never a failure. The pool is made on first
// use, which the level load makes (MakeMapObjectFactories), and lives until
// the process ends: objects destroyed during exit may still give back their
// storage. It does not construct, own or destroy projectiles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace mirefell
{

struct GridCell;

class ProjectilePool
{
public:
    // More shots than the busiest fight keeps in the air (the hyper
    // blaster's bolts live 200 steps).
    static constexpr size_t Capacity = 256;

    static ProjectilePool& GetInstance();
    ProjectilePool(const ProjectilePool&) = delete;
    ProjectilePool& operator=(const ProjectilePool&) = delete;

    // Storage for an object of `size` bytes: a free slot when it fits one
    // and one is free, else the heap's (which throws std::bad_alloc).
    void* Allocate(size_t size);
    // Gives back storage from Allocate: a slot becomes free, heap storage
    // goes back to the heap. Null is ignored.
    void Free(void* storage);
    // Whether `object` lies in one of the slots.
    bool Owns(const void* object) const;

    // The cell list for the object at `object` (inside its storage): its
    // slot's list, or a new one for heap storage; empty, with room for
    // GridObject::ReservedCells.
    std::vector<GridCell*> TakeCells(const void* object);
    // Gives back the list of the object at `object`; a slot keeps it (with
    // its room) for the next shot, heap objects' lists are freed.
    void ReturnCells(const void* object, std::vector<GridCell*> cells);

    size_t FreeSlots() const { return freeSlots.size(); }

private:
    struct Slot;

    ProjectilePool();
    ~ProjectilePool();
    // The slot `object` lies in; Capacity when none.
    size_t SlotOf(const void* object) const;

    std::unique_ptr<Slot[]> slots;
    std::vector<uint32_t> freeSlots; // last freed first
    std::vector<std::vector<GridCell*>> cellLists;
};

} // namespace mirefell
