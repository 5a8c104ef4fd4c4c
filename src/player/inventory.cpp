#include "player/inventory.h"

#include <algorithm>
#include <cmath>

#include "app/input.h"

namespace {

constexpr std::array<int, SLOT_COUNT> SLOT_KEYS = {KEY_ONE, KEY_TWO, KEY_THREE, KEY_FOUR, KEY_FIVE};
static_assert(SLOT_KEYS.size() == 5);

int64_t wrap_slot(int64_t i) { return ((i % SLOT_COUNT) + SLOT_COUNT) % SLOT_COUNT; }

bool holds(const InventorySlot& s, Material m) { return s.count != 0 && s.material == m; }

}  // namespace

Inventory reset_inventory() {
    Inventory inv{};
    inv.slots[0] = InventorySlot{Material::Fire, UNLIMITED};
    return inv;
}

bool select_slot_input(Inventory& inv, const FrameInput& input) {
    const int64_t before = inv.selected;
    for (size_t i = 0; i < SLOT_KEYS.size(); ++i) {
        if (key_pressed(input, SLOT_KEYS[i])) inv.selected = static_cast<int64_t>(i);
    }
    // Wheel up is the previous slot, wheel down the next, wrapping round; any
    // move is at least one notch. No mouse sends an infinite or NaN move, so
    // those are ignored. Whole turns of the five slots change nothing, so the
    // notches are reduced by them while still a float: a huge value then never
    // has to fit an integer.
    if (!std::isfinite(input.wheel) || input.wheel == 0.0f) return inv.selected != before;
    float notches = std::trunc(input.wheel);
    if (notches == 0.0f) notches = input.wheel > 0.0f ? 1.0f : -1.0f;
    const auto turn = static_cast<int64_t>(std::fmod(notches, static_cast<float>(SLOT_COUNT)));
    inv.selected = wrap_slot(inv.selected - turn);
    return inv.selected != before;
}

Material active_material(const Inventory& inv) {
    const InventorySlot& s = inv.slots[static_cast<size_t>(inv.selected)];
    return s.count != 0 ? s.material : Material::Empty;
}

void spend_unit(Inventory& inv) {
    InventorySlot& s = inv.slots[static_cast<size_t>(inv.selected)];
    if (s.count <= 0) return;
    --s.count;
    if (s.count == 0) s.material = Material::Empty;
}

bool can_take(const Inventory& inv, Material m) {
    return std::any_of(inv.slots.begin(), inv.slots.end(),
                       [&](const InventorySlot& s) { return s.count == 0 || holds(s, m); });
}

void add_material(Inventory& inv, Material m) {
    if (m == Material::Empty) return;
    for (InventorySlot& s : inv.slots) {
        if (!holds(s, m)) continue;
        if (s.count > 0) s.count += BARREL_UNITS;
        return;
    }
    for (InventorySlot& s : inv.slots) {
        if (s.count != 0) continue;
        s = InventorySlot{m, BARREL_UNITS};
        return;
    }
}
