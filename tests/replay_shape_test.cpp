// The play state hash lists every field by hand. These sizes and member
// counts fail loudly when a record hashed by play_state_hash gains, loses or
// changes a field: extend the hash in src/app/replay.cpp (one line per new
// field, in its record's group), then update the numbers here.

#include <gtest/gtest.h>

#include <cstddef>
#include <utility>

#include "app/replay.h"

namespace {

// Converts to anything, so T{AnyMember{}, ...} compiles for as many
// initialisers as T has members (a C array counts once per element).
struct AnyMember {
    template <class U>
    constexpr operator U() const noexcept;  // never defined: unevaluated use only
};

template <class T, size_t... I>
constexpr bool aggregate_takes(std::index_sequence<I...>) {
    return requires { T{(static_cast<void>(I), AnyMember{})...}; };
}

template <class T, size_t N = 0>
constexpr size_t member_slots() {
    if constexpr (N > 200) {
        return N;
    } else if constexpr (!aggregate_takes<T>(std::make_index_sequence<N + 1>{})) {
        return N;
    } else {
        return member_slots<T, N + 1>();
    }
}

struct Shape {
    const char* name;
    size_t size;
    size_t slots;
    size_t expected_size;
    size_t expected_slots;
};

template <class T>
Shape shape(const char* name, size_t expected_size, size_t expected_slots) {
    return Shape{name, sizeof(T), member_slots<T>(), expected_size, expected_slots};
}

TEST(PlayStateHashShape, HashedRecordsKeepTheFieldsTheHashLists) {
    const Shape shapes[] = {
        shape<Game>("Game", 70656, 201),
        shape<World>("World", 61316408, 22),
        shape<Cell>("Cell", 48, 17),
        shape<Particle>("Particle", 20, 7),
        shape<Enemy>("Enemy", 208, 36),
        shape<Level>("Level", 28952, 7),
        shape<Barrel>("Barrel", 32, 9),
        shape<House>("House", 40, 5),
        shape<Tank>("Tank", 40, 5),
        shape<Player>("Player", 96, 19),
        shape<PlayerInput>("PlayerInput", 16, 3),
        shape<StepStart>("StepStart", 40, 6),
        shape<MovementFx>("MovementFx", 7704, 5),
        shape<DustParticle>("DustParticle", 40, 11),
        shape<PlayerAnimation>("PlayerAnimation", 24, 3),
        shape<Inventory>("Inventory", 88, 2),
        shape<InventorySlot>("InventorySlot", 16, 2),
        shape<SpitState>("SpitState", 57360, 4),
        shape<SpitParticle>("SpitParticle", 28, 12),
        shape<Camera>("Camera", 40, 6),
        shape<SoundBank>("SoundBank", 3232, 81),
        shape<SandboxState>("SandboxState", 24, 4),
    };
    // The byte sizes are those of 64-bit targets; elsewhere (wasm32) pointers
    // shrink them and only the member counts are compared.
    constexpr bool sizes_apply = sizeof(void*) == 8;
    for (const Shape& s : shapes) {
        EXPECT_TRUE((!sizes_apply || s.size == s.expected_size) && s.slots == s.expected_slots)
            << s.name << " is now " << s.size << " bytes with " << s.slots << " member slots (was "
            << s.expected_size << " bytes, " << s.expected_slots
            << "): hash the changed fields in src/app/replay.cpp, then record the new numbers here";
    }
}

}  // namespace
