#include "app/replay.h"

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace {

// One word per field: integers and enums sign- or zero-extended, floats by
// their bits (so -0 and 0 differ, as they may for the rules), bools as 0/1.
template <class T>
void put(StateHasher& s, T v) {
    if constexpr (std::is_same_v<T, float>) {
        // memcpy rather than std::bit_cast, which the web toolchain's libc++ lacks.
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        hash_word(s, bits);
    } else if constexpr (std::is_same_v<T, bool>) {
        hash_word(s, v ? 1u : 0u);
    } else if constexpr (std::is_enum_v<T>) {
        hash_word(s, static_cast<uint64_t>(static_cast<std::underlying_type_t<T>>(v)));
    } else {
        static_assert(std::is_integral_v<T>, "hash each member of a record, not the record");
        hash_word(s, static_cast<uint64_t>(v));
    }
}

void put(StateHasher& s, Vector2 v) {
    put(s, v.x);
    put(s, v.y);
}

// A count read back from a record bounds the part of a table that is in use;
// a broken count must not make the hash read past the table.
size_t clamp_count(int64_t count, size_t capacity) {
    if (count < 0) return 0;
    return static_cast<size_t>(count) < capacity ? static_cast<size_t>(count) : capacity;
}

void mix(uint64_t& h, uint64_t word) { h = (h ^ word) * STATE_HASH_PRIME; }

// A cell and its wake-up mark as six little-endian words read straight from
// the cell, with the three two-byte padding gaps masked to zero (the middle
// gap of the last word then carries the mark). The mark counts only as
// "queued for the next update" (it equals tick + 1): older values never
// matter to the rules. Reading words instead of fields keeps the hash of a
// million cells quick enough to take after every frame.
static_assert(std::endian::native == std::endian::little);
static_assert(sizeof(Cell) == 48, "Cell changed: redo the words below");
static_assert(offsetof(Cell, material) == 0 && offsetof(Cell, shade) == 1 && offsetof(Cell, temperature) == 4);
static_assert(offsetof(Cell, integrity) == 8 && offsetof(Cell, life) == 10 && offsetof(Cell, life_max) == 12 &&
              offsetof(Cell, progress) == 14);
static_assert(offsetof(Cell, rest_frames) == 16 && offsetof(Cell, burning) == 17 && offsetof(Cell, vel_x) == 20);
static_assert(offsetof(Cell, vel_y) == 24 && offsetof(Cell, fall_frac) == 28 && offsetof(Cell, fling_frac_x) == 32 &&
              offsetof(Cell, fling_frac_y) == 36);
static_assert(offsetof(Cell, fling_frames) == 40 && offsetof(Cell, origin) == 41 && offsetof(Cell, stamp) == 44);
constexpr uint64_t GAP_AT_2 = 0xFFFFFFFF0000FFFFull;  // bytes 2 and 3 of the word are padding

uint64_t cell_word(const Cell& c, size_t offset) {
    uint64_t word;
    std::memcpy(&word, reinterpret_cast<const unsigned char*>(&c) + offset, sizeof(word));
    return word;
}

void mix_cell(uint64_t& h, const Cell& c, bool queued) {
    mix(h, cell_word(c, 0) & GAP_AT_2);   // material, shade, temperature
    mix(h, cell_word(c, 8));              // integrity, life, life_max, progress
    mix(h, cell_word(c, 16) & GAP_AT_2);  // rest_frames, burning, vel_x
    mix(h, cell_word(c, 24));             // vel_y, fall_frac
    mix(h, cell_word(c, 32));             // fling_frac_x, fling_frac_y
    mix(h, (cell_word(c, 40) & GAP_AT_2) | uint64_t{queued} << 16);  // fling_frames, origin, stamp
}

// The grid is a million cells: interleaved lanes (cell i in lane i % 8)
// keep the multiplier busy, and the lanes join the main state in order.
constexpr size_t CELL_LANES = 8;

void put_cells(StateHasher& s, const World& w) {
    static_assert(CELL_COUNT % CELL_LANES == 0);
    const uint32_t queued_mark = w.tick + 1u;
    uint64_t lanes[CELL_LANES];
    for (size_t k = 0; k < CELL_LANES; ++k) lanes[k] = STATE_HASH_OFFSET ^ k;
    for (size_t i = 0; i < static_cast<size_t>(CELL_COUNT); i += CELL_LANES) {
        for (size_t k = 0; k < CELL_LANES; ++k) {
            mix_cell(lanes[k], w.cells[i + k], static_cast<uint32_t>(w.queued_mark[i + k]) == queued_mark);
        }
    }
    for (uint64_t lane : lanes) hash_word(s, lane);
}

void put_enemy(StateHasher& s, const Enemy& e) {
    put(s, e.kind);
    put(s, e.x);
    put(s, e.y);
    put(s, e.group);
    put(s, e.group_side);
    put(s, e.group_slot);
    put(s, e.attack_phase);
    put(s, e.turn_x);
    put(s, e.wander_dir);
    put(s, e.stuck_x);
    put(s, e.stuck_time);
    put(s, e.turn_time);
    put(s, e.crowd_time);
    put(s, e.stall_time);
    put(s, e.stall_x);
    put(s, e.stall_y);
    put(s, e.stall_player_x);
    put(s, e.stall_player_y);
    put(s, e.jump_cooldown);
    put(s, e.dash_cooldown);
    put(s, e.dash_time);
    put(s, e.vel_x);
    put(s, e.vel_y);
    put(s, e.frac_x);
    put(s, e.frac_y);
    put(s, e.alert_time);
    put(s, e.attack_time);
    put(s, e.attack_cooldown);
    put(s, e.anim_time);
    put(s, e.pending_damage);
    put(s, e.hp);
    put(s, e.facing);
    put(s, e.alive);
    put(s, e.grounded);
    put(s, e.attacking);
    put(s, e.hit_done);
}

void put_particle(StateHasher& s, const Particle& p) {
    put(s, p.x);
    put(s, p.y);
    put(s, p.vel_x);
    put(s, p.vel_y);
    put(s, p.life);
    put(s, p.life_max);
    put(s, p.shade);
}

void put_barrel(StateHasher& s, const Barrel& b) {
    put(s, b.x);
    put(s, b.y);
    put(s, b.material);
    put(s, b.broken);
    put(s, b.removed);
    put(s, b.being_eaten);
    put(s, b.eaten);
    put(s, b.break_time);
    put(s, b.eat_time);
}

void put_house(StateHasher& s, const House& h) {
    put(s, h.x);
    put(s, h.y);
    put(s, h.width);
    put(s, h.height);
    put(s, h.roof_height);
}

void put_tank(StateHasher& s, const Tank& t) {
    put(s, t.x);
    put(s, t.y);
    put(s, t.width);
    put(s, t.height);
    put(s, t.material);
}

void put_player(StateHasher& s, const Player& p) {
    put(s, p.x);
    put(s, p.y);
    put(s, p.hp);
    put(s, p.facing);
    put(s, p.vel_x);
    put(s, p.vel_y);
    put(s, p.frac_x);
    put(s, p.frac_y);
    put(s, p.grounded);
    put(s, p.coyote_time);
    put(s, p.jump_buffer);
    put(s, p.jump_hold);
    put(s, p.ceiling_grace);
    put(s, p.wall_grace);
    put(s, p.wall_vel_x);
    put(s, p.ceiling_blocked);
    put(s, p.potion_time);
    put(s, p.flash_time);
    put(s, p.empowered);
}

void put_player_input(StateHasher& s, const PlayerInput& in) {
    put(s, in.move);
    put(s, in.jump_request);
    put(s, in.jump_released);
}

void put_step_start(StateHasher& s, const StepStart& st) {
    put(s, st.x);
    put(s, st.y);
    put(s, st.vel_x);
    put(s, st.vel_y);
    put(s, st.hp);
    put(s, st.grounded);
}

void put_dust(StateHasher& s, const DustParticle& d) {
    put(s, d.x);
    put(s, d.y);
    put(s, d.vel_x);
    put(s, d.vel_y);
    put(s, d.life);
    put(s, d.life_max);
    for (uint8_t channel : d.color) put(s, channel);
    put(s, d.size);
}

void put_movement_fx(StateHasher& s, const MovementFx& fx) {
    for (const DustParticle& d : fx.dust) put_dust(s, d);
    put(s, fx.dust_next);
    put(s, fx.dust_rng);
    put(s, fx.dust_cooldown);
    put(s, fx.last_move);
}

void put_animation(StateHasher& s, const PlayerAnimation& a) {
    put(s, a.player_anim);
    put(s, a.anim_time);
    put(s, a.anim_frame);
}

void put_inventory(StateHasher& s, const Inventory& inv) {
    for (const InventorySlot& slot : inv.slots) {
        put(s, slot.material);
        put(s, slot.count);
    }
    put(s, inv.selected);
}

void put_spit_particle(StateHasher& s, const SpitParticle& p) {
    put(s, p.x);
    put(s, p.y);
    put(s, p.vel_x);
    put(s, p.vel_y);
    put(s, p.material);
    put(s, p.shade);
    put(s, p.age);
    put(s, p.life);
    put(s, p.active);
    put(s, p.falling);
    put(s, p.pierce);
    put(s, p.large);
}

void put_spit(StateHasher& s, const SpitState& spit) {
    for (const SpitParticle& p : spit.particles) put_spit_particle(s, p);
    put(s, spit.spit_next);
    put(s, spit.spit_pose);
    put(s, spit.spit_idle);
}

void put_camera(StateHasher& s, const Camera& c) {
    put(s, c.pos);
    put(s, c.vel);
    put(s, c.pan_active);
    put(s, c.pan_time);
    put(s, c.pan_from);
    put(s, c.pan_to);
}

// Which sound variants play next and what the rules have asked to hear; the
// loaded sounds themselves are device handles.
void put_sound_requests(StateHasher& s, const SoundBank& bank) {
    put(s, bank.rng_state);
    for (uint32_t n : bank.requested) put(s, n);
}

}  // namespace

uint64_t world_state_hash(const World& w) {
    StateHasher s;
    put_cells(s, w);
    put(s, w.player_present);
    put(s, w.player_x);
    put(s, w.player_y);
    for (const Enemy& e : w.enemies) put_enemy(s, e);
    put(s, w.enemy_count);
    put(s, w.boss_frozen);
    put(s, w.tick);
    put(s, w.rng_state);
    // The wake-up list in its order, which is the order of the next update.
    const size_t sel = w.active_sel == 0 ? 0 : 1;
    const size_t active = clamp_count(w.active_count, w.active[sel].size());
    for (size_t i = 0; i < active; ++i) put(s, w.active[sel][i]);
    put(s, w.active_count);
    put(s, w.next_count);
    put(s, w.active_sel);
    put(s, w.updating);
    for (int32_t mark : w.explosion_mark) put(s, mark);
    const size_t particles = clamp_count(w.particle_count, w.particles.size());
    for (size_t i = 0; i < particles; ++i) put_particle(s, w.particles[i]);
    put(s, w.particle_count);
    put(s, w.explosion_count);
    // actor_bands: rebuilt at the start of every world update before any read.
    put(s, w.last_swap_to);
    put(s, w.last_swap_tick);
    return s.h;
}

uint64_t level_state_hash(const Level& level) {
    StateHasher s;
    for (int64_t top : level.surface) put(s, top);
    for (const Barrel& b : level.barrels) put_barrel(s, b);
    put(s, level.barrel_count);
    for (const House& h : level.houses) put_house(s, h);
    put(s, level.house_count);
    for (const Tank& t : level.tanks) put_tank(s, t);
    put(s, level.tank_count);
    return s.h;
}

uint64_t game_record_hash(const Game& g) {
    StateHasher s;
    put(s, g.screen);
    put(s, g.master_volume);
    put_sound_requests(s, g.sounds);
    put(s, g.mouse_virtual.x);
    put(s, g.mouse_virtual.y);
    put(s, g.frame_time);
    for (float cooldown : g.sfx_cooldown) put(s, cooldown);
    put(s, g.step_accumulator);
    put(s, g.game_over);
    put(s, g.story_stage);
    put(s, g.dialogue_line);
    put(s, g.dialogue_chars);
    put(s, g.boss_encounter);
    put(s, g.materials_unlocked);
    // The intro script.
    put(s, g.egg_timer);
    put(s, g.awakening_seen);
    put(s, g.knight_index);
    put(s, g.knight_spawned);
    // Play records.
    put_player(s, g.player);
    put(s, g.player_prev_x);
    put(s, g.player_prev_y);
    put_player_input(s, g.player_input);
    put_step_start(s, g.step_start);
    put_movement_fx(s, g.movement_fx);
    put_animation(s, g.player_animation);
    put_inventory(s, g.inventory);
    put_spit(s, g.spit);
    put(s, g.attack_latch);
    put(s, g.spit_held);
    put_camera(s, g.camera);
    put(s, g.sandbox.sandbox_unlocked);
    put(s, g.sandbox.panel_open);
    put(s, g.sandbox.code_pos);
    put(s, g.sandbox.sandbox_material);
    // The cell layer's texture and texel buffer are drawing, redone each frame;
    // the cave wall is made once at start-up, and the sky cache only saves
    // drawing what the camera's column alone decides.
    // Frame loop bookkeeping.
    put(s, g.logic_steps);
    put(s, g.present_with_shader);
    put(s, g.screen_time);
    // The pause and the way out of the settings screen.
    put(s, g.paused);
    put(s, g.settings_return);
    put(s, g.spit_blocked_until_release);
    put(s, g.quit_requested);
    // Assists enter only when chosen, so a game with the defaults hashes as
    // it did before they existed.
    if (assists_on(g)) {
        put(s, g.game_speed_pct);
        put(s, g.damage_taken_pct);
    }
    // fullscreen, saved_settings and settings_path belong to this machine's
    // settings file, not to the game being played; menu_focus and
    // menu_focus_shown to the menus; checkpoint is storage whose content a
    // Continue turns back into the fields above; continue_requested lives
    // only within a frame.
    return s.h;
}

uint64_t play_state_hash(const Game& game) {
    StateHasher s;
    hash_word(s, game_record_hash(game));
    hash_word(s, game.world != nullptr ? world_state_hash(*game.world) : 0u);
    hash_word(s, game.level != nullptr ? level_state_hash(*game.level) : 0u);
    return s.h;
}

InputRecording make_input_recording(FrameInput* buffer, int64_t capacity) {
    InputRecording rec{};
    rec.frames = buffer;
    rec.capacity = buffer != nullptr && capacity > 0 ? capacity : 0;
    return rec;
}

bool record_input(InputRecording& rec, const FrameInput& input) {
    if (rec.count >= rec.capacity) {
        rec.overflowed = true;
        return false;
    }
    rec.frames[static_cast<size_t>(rec.count++)] = input;
    return true;
}

bool replay_frame(Game& game, const InputRecording& rec, int64_t index) {
    if (index < 0 || index >= rec.count) return false;
    FrameInput input = rec.frames[static_cast<size_t>(index)];
    update_frame(game, input);
    return true;
}
