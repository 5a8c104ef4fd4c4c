#pragma once
// The five materials the dragon carries to spit: unlimited fire from the
// start, and 2000 units of whatever each eaten barrel held.

#include <array>
#include <cstdint>

#include "world/materials.h"

struct FrameInput;

inline constexpr int64_t SLOT_COUNT = 5;
inline constexpr int64_t BARREL_UNITS = 2000;
inline constexpr int64_t UNLIMITED = -1;

struct InventorySlot {
    Material material;  // meaningful only while count is not 0
    int64_t count;      // UNLIMITED, 0 for an empty slot, else units left
};

struct Inventory {
    std::array<InventorySlot, SLOT_COUNT> slots;
    int64_t selected;
};

Inventory reset_inventory();
// Keys 1-5 and the wheel; returns whether the selection changed.
bool select_slot_input(Inventory& inv, const FrameInput& input);
Material active_material(const Inventory& inv);
inline int64_t active_count(const Inventory& inv) { return inv.slots[static_cast<size_t>(inv.selected)].count; }
void spend_unit(Inventory& inv);
// Could a barrel of `m` be added (a slot holds it or one is empty)?
bool can_take(const Inventory& inv, Material m);
void add_material(Inventory& inv, Material m);
