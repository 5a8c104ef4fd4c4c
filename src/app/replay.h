#pragma once
// Exact replays: a fingerprint of everything play changes, and a recorder of
// the per-frame input records that drive it. Two games started from the same
// seed and fed the same records must agree on the fingerprint after every frame.

#include <cstdint>

#include "app/game.h"
#include "app/input.h"

// 64-bit FNV-1a taken a 64-bit word at a time: every field is widened (or
// packed with its neighbours) into words, floats by their bit patterns, and
// each word is xor-ed into the state and multiplied by the FNV prime. Fields
// are read one by one, never whole structs, so padding bytes never count.
inline constexpr uint64_t STATE_HASH_OFFSET = 0xcbf29ce484222325ull;
inline constexpr uint64_t STATE_HASH_PRIME = 0x100000001b3ull;

struct StateHasher {
    uint64_t h = STATE_HASH_OFFSET;
};

inline void hash_word(StateHasher& s, uint64_t word) { s.h = (s.h ^ word) * STATE_HASH_PRIME; }

// The play state of a game: world cells and simulation lists, level, dragon,
// inventory, spit, dust, enemies, story, camera, boss encounter and the frame
// loop's carried time. Not raylib handles, pointers, loaded images or the
// letterbox (which every frame recomputes from the window size).
uint64_t play_state_hash(const Game& game);

// The parts, for finding which one two games disagree on.
uint64_t world_state_hash(const World& world);
uint64_t level_state_hash(const Level& level);
uint64_t game_record_hash(const Game& game);  // the Game fields outside world and level

// The input of a played stretch, in a buffer the caller owns, so recording
// allocates nothing. Records are stored as read, before the frame pops
// their key queues.
struct InputRecording {
    FrameInput* frames;
    int64_t capacity;
    int64_t count;
    bool overflowed;  // a frame came after the buffer was full and was lost
};

InputRecording make_input_recording(FrameInput* buffer, int64_t capacity);
// Stores a copy of `input`; returns false (and marks the recording) when full.
bool record_input(InputRecording& rec, const FrameInput& input);
// Runs recorded frame `index` on `game` from a copy, leaving the recording
// as it was. Returns false for an index outside the recording.
bool replay_frame(Game& game, const InputRecording& rec, int64_t index);
