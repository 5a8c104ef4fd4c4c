// What is drawn over the cells, pinned pixel for pixel: the dragon in every
// pose and facing, the egg, each enemy kind both ways with its health bar,
// barrels, spit and dust, the hit-point panel, the slot bar, the cursor, the
// stage prompt, the sandbox panel, the dialogue box and the game-over overlay.
// Seeded scenes are drawn under a real (software) OpenGL over a flat colour,
// without the world's layers, and compared with reference images checked into
// tests/golden/reference after they were looked at.
//
//   cindervale_scene_golden_tests <out-dir>   (needs a display: run under xvfb-run)
//
// A scene that differs leaves <out-dir>/<scene>.png (what was drawn) and
// <scene>_diff.png: differing pixels magenta, the rest a dim grey copy.
// CINDERVALE_GOLDEN_UPDATE=1 rewrites the references instead; look at every
// rewritten image before committing it.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/game.h"
#include "assets/embedded_assets.h"
#include "render/actors.h"
#include "render/camera.h"
#include "render/hud.h"
#include "story/intro.h"
#include "world/level.h"

namespace {

constexpr uint32_t SEED = 20240611u;
constexpr Color BACKDROP = {40, 44, 52, 255};
// Software GL is exact from run to run; the margin only absorbs rounding a
// different Mesa build might make, far below any colour or anchor mistake.
constexpr int CHANNEL_TOLERANCE = 2;

struct SceneContext {
    Game game;
    RenderTexture2D target;
    std::string out_dir;
    std::string reference_dir;
    bool update;
    bool ready;
};

SceneContext& context() {
    static SceneContext ctx{};
    return ctx;
}

enum Layers : unsigned { ACTORS = 1u, HUD = 2u };

// The frame as drawn into the 1080 x 609 target, top row first.
Image draw_layers(const Game& game, unsigned layers) {
    RenderTexture2D target = context().target;
    BeginTextureMode(target);
    ClearBackground(BACKDROP);
    if ((layers & ACTORS) != 0) draw_actors(game);
    if ((layers & HUD) != 0) draw_hud(game);
    EndTextureMode();
    Image image = LoadImageFromTexture(target.texture);
    ImageFlipVertical(&image);  // render textures are stored upside down
    ImageFormat(&image, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
    return image;
}

// Copies a w x h block of `from` at (sx, sy) into `to` at (dx, dy), without
// blending, so alpha is kept as drawn.
void blit(const Image& from, int sx, int sy, int w, int h, Image& to, int dx, int dy) {
    const auto* src = static_cast<const Color*>(from.data);
    auto* dst = static_cast<Color*>(to.data);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int fx = sx + x;
            const int fy = sy + y;
            const int tx = dx + x;
            const int ty = dy + y;
            if (fx < 0 || fy < 0 || fx >= from.width || fy >= from.height) continue;
            if (tx < 0 || ty < 0 || tx >= to.width || ty >= to.height) continue;
            dst[ty * to.width + tx] = src[fy * from.width + fx];
        }
    }
}

// Tiles cut out of several frames, laid out left to right, top to bottom.
struct Atlas {
    Image image;
    int tile_w;
    int tile_h;
    int columns;
    int next;
};

Atlas make_atlas(int tile_w, int tile_h, int columns, int tiles) {
    const int rows = (tiles + columns - 1) / columns;
    return Atlas{GenImageColor(tile_w * columns, tile_h * rows, Color{0, 0, 0, 0}), tile_w, tile_h, columns, 0};
}

void add_tile(Atlas& atlas, const Image& frame, int left, int top) {
    const int col = atlas.next % atlas.columns;
    const int row = atlas.next / atlas.columns;
    blit(frame, left, top, atlas.tile_w, atlas.tile_h, atlas.image, col * atlas.tile_w, row * atlas.tile_h);
    ++atlas.next;
}

bool close_enough(Color a, Color b) {
    return std::abs(a.r - b.r) <= CHANNEL_TOLERANCE && std::abs(a.g - b.g) <= CHANNEL_TOLERANCE &&
           std::abs(a.b - b.b) <= CHANNEL_TOLERANCE && std::abs(a.a - b.a) <= CHANNEL_TOLERANCE;
}

std::string colour_text(Color c) {
    char text[48];
    std::snprintf(text, sizeof text, "(%d, %d, %d, %d)", c.r, c.g, c.b, c.a);
    return text;
}

// Compares with the reference; on a difference leaves the frame and a diff
// image in the output folder. Takes ownership of `image`.
void expect_matches_reference(const std::string& scene, Image image) {
    SceneContext& ctx = context();
    const std::string reference_path = ctx.reference_dir + "/" + scene + ".png";
    const std::string out_base = ctx.out_dir + "/" + scene;
    if (ctx.update) {
        ExportImage(image, reference_path.c_str());
        UnloadImage(image);
        return;
    }
    Image reference = LoadImage(reference_path.c_str());
    if (!IsImageValid(reference)) {
        ExportImage(image, (out_base + ".png").c_str());
        ADD_FAILURE() << scene << ": no reference at " << reference_path << "; the frame is in " << out_base
                      << ".png (CINDERVALE_GOLDEN_UPDATE=1 writes references)";
        UnloadImage(image);
        return;
    }
    ImageFormat(&reference, PIXELFORMAT_UNCOMPRESSED_R8G8B8A8);
    if (reference.width != image.width || reference.height != image.height) {
        ExportImage(image, (out_base + ".png").c_str());
        ADD_FAILURE() << scene << ": drawn " << image.width << "x" << image.height << ", reference "
                      << reference.width << "x" << reference.height;
        UnloadImage(reference);
        UnloadImage(image);
        return;
    }
    const auto* got = static_cast<const Color*>(image.data);
    const auto* want = static_cast<const Color*>(reference.data);
    Image diff = GenImageColor(image.width, image.height, BLACK);
    auto* marks = static_cast<Color*>(diff.data);
    int64_t differing = 0;
    int first = -1;
    for (int i = 0; i < image.width * image.height; ++i) {
        if (close_enough(got[i], want[i])) {
            const auto grey = static_cast<unsigned char>((got[i].r + got[i].g + got[i].b) / 12);
            marks[i] = Color{grey, grey, grey, 255};
            continue;
        }
        marks[i] = Color{255, 0, 255, 255};
        if (first < 0) first = i;
        ++differing;
    }
    if (differing != 0) {
        ExportImage(image, (out_base + ".png").c_str());
        ExportImage(diff, (out_base + "_diff.png").c_str());
        ADD_FAILURE() << scene << ": " << differing << " pixels differ from " << reference_path << "; first at ("
                      << first % image.width << ", " << first / image.width << "): drawn " << colour_text(got[first])
                      << ", reference " << colour_text(want[first]) << "; see " << out_base << "_diff.png";
    }
    UnloadImage(diff);
    UnloadImage(reference);
    UnloadImage(image);
}

// --- Scenes -------------------------------------------------------------------------

// A new seeded game in play with the view in the open grassland, nothing of
// the story on screen and no one but what a scene puts there.
Game& new_scene() {
    SceneContext& ctx = context();
    Game& g = ctx.game;
    start_new_game_with_seed(g, SEED);
    g.screen = GameScreen::Playing;
    g.story_stage = 12;
    g.awakening_seen = true;
    g.camera = make_camera();
    g.camera.pos = Vector2{1500.0f, 40.0f};
    g.world->enemy_count = 0;
    g.level->barrel_count = 0;
    g.mouse_virtual = VirtualPoint{-100, -100};
    return g;
}

void place_player(Game& g, int64_t x, int64_t y, int64_t facing) {
    g.player.x = x;
    g.player.y = y;
    g.player_prev_x = x;
    g.player_prev_y = y;
    g.step_accumulator = 0.0f;
    g.player.facing = facing;
}

Barrel& add_barrel(Game& g, int64_t x, int64_t y, Material m) {
    Barrel& b = g.level->barrels[static_cast<size_t>(g.level->barrel_count++)];
    b = Barrel{};
    b.x = x;
    b.y = y;
    b.material = m;
    return b;
}

Enemy& add_enemy(Game& g, EnemyKind kind, int64_t x, int64_t y, int64_t facing, int64_t hp) {
    World& w = *g.world;
    Enemy& e = w.enemies[static_cast<size_t>(w.enemy_count++)];
    e = Enemy{};
    e.kind = static_cast<int64_t>(kind);
    e.x = x;
    e.y = y;
    e.facing = facing;
    e.hp = hp;
    e.alive = true;
    e.grounded = true;
    return e;
}

struct Pose {
    const char* name;
    Animation anim;
    int64_t frame;
    float vel_y;
    float spit_pose;
    bool eating;
    bool hurt;
    bool empowered;
};

// Idle frames 0 and 2, walk frame 7, rising and falling, the third spit
// stage standing and running, the fourth eating frame, the hurt tint and the
// empowered dragon.
constexpr Pose POSES[] = {
    {"idle0", Animation::Idle, 0, 0.0f, 0.0f, false, false, false},
    {"idle2", Animation::Idle, 2, 0.0f, 0.0f, false, false, false},
    {"walk7", Animation::Walk, 7, 0.0f, 0.0f, false, false, false},
    {"rise", Animation::Air, 0, -100.0f, 0.0f, false, false, false},
    {"fall", Animation::Air, 0, 100.0f, 0.0f, false, false, false},
    {"spit", Animation::Idle, 0, 0.0f, 0.15f, false, false, false},
    {"spit_run", Animation::Walk, 6, 0.0f, 0.15f, false, false, false},
    {"eat", Animation::Idle, 0, 0.0f, 0.0f, true, false, false},
    {"hurt", Animation::Walk, 5, 0.0f, 0.0f, false, true, false},
    {"empowered", Animation::Idle, 1, 0.0f, 0.05f, false, false, true},
};

TEST(SceneGolden, TheDragonInEveryPoseFacingBothWays) {
    ASSERT_TRUE(context().ready);
    // Each tile reaches from the left pose frame's edge (-85 px) to the right
    // one's (+131 px) around the dragon's top-left corner.
    Atlas atlas = make_atlas(232, 112, 4, 2 * static_cast<int>(std::size(POSES)));
    for (int64_t facing : {1, -1}) {
        for (const Pose& pose : POSES) {
            Game& g = new_scene();
            place_player(g, 1600, 100, facing);
            g.player_animation = PlayerAnimation{pose.anim, 0.0f, pose.frame};
            g.player.vel_y = pose.vel_y;
            g.spit.spit_pose = pose.spit_pose;
            g.player.flash_time = pose.hurt ? 0.5f : 0.0f;
            g.player.empowered = pose.empowered;
            if (pose.eating) {
                Barrel& b = add_barrel(g, 100, 100, Material::Sand);  // far out of view
                b.being_eaten = true;
                b.eat_time = 0.3f;
            }
            Image frame = draw_layers(g, ACTORS);
            const CamPx px = cam_px(g.camera);
            add_tile(atlas, frame, 3 * 1600 - px.x - 94, 3 * 100 - px.y - 32);
            UnloadImage(frame);
        }
    }
    expect_matches_reference("dragon_poses", atlas.image);
}

TEST(SceneGolden, TheEggWholeCrackedAndSplitting) {
    ASSERT_TRUE(context().ready);
    Atlas atlas = make_atlas(160, 120, 4, 4);
    const float timers[] = {0.0f, 0.3f, 0.5f, 0.7f};
    for (int i = 0; i < 4; ++i) {
        Game& g = new_scene();
        g.camera.pos = Vector2{0.0f, 80.0f};
        g.story_stage = i == 0 ? 0 : 1;
        g.egg_timer = timers[i];
        Image frame = draw_layers(g, ACTORS);
        const CamPx px = cam_px(g.camera);
        add_tile(atlas, frame, 459 - px.x - 50, 672 - px.y - 50);
        UnloadImage(frame);
    }
    expect_matches_reference("egg", atlas.image);
}

TEST(SceneGolden, EachEnemyKindBothWaysWithItsHealthBar) {
    ASSERT_TRUE(context().ready);
    Game& g = new_scene();
    place_player(g, 100, 100, 1);  // out of view
    // Top row facing right at full or high health, bottom row facing left
    // below a third, where the bar turns red.
    add_enemy(g, EnemyKind::Knight, 1520, 70, 1, 100);
    add_enemy(g, EnemyKind::Ogre, 1560, 70, 1, 400);
    add_enemy(g, EnemyKind::Barbarian, 1600, 70, 1, 250);
    add_enemy(g, EnemyKind::Knight, 1520, 120, -1, 33);
    add_enemy(g, EnemyKind::Ogre, 1560, 120, -1, 166);
    add_enemy(g, EnemyKind::Barbarian, 1600, 120, -1, 1);
    add_enemy(g, EnemyKind::Boss, 1680, 80, 1, 5000);
    add_enemy(g, EnemyKind::Boss, 1760, 80, -1, 1666);
    Enemy& walker = add_enemy(g, EnemyKind::Knight, 1640, 150, -1, 50);
    walker.vel_x = -40.0f;
    walker.anim_time = 0.2f;
    Enemy& swinger = add_enemy(g, EnemyKind::Knight, 1660, 150, 1, 70);
    swinger.attacking = true;
    swinger.attack_time = 0.2f;
    expect_matches_reference("enemies", draw_layers(g, ACTORS));
}

TEST(SceneGolden, BarrelsSpitGlowAndDust) {
    ASSERT_TRUE(context().ready);
    Game& g = new_scene();
    place_player(g, 100, 100, 1);  // out of view
    add_barrel(g, 1520, 60, Material::Acid);  // whole, with its icon
    Barrel& eaten = add_barrel(g, 1540, 60, Material::Water);
    eaten.broken = true;
    eaten.eaten = true;
    eaten.break_time = 0.2f;
    Barrel& bursting = add_barrel(g, 1560, 60, Material::Sand);
    bursting.broken = true;
    bursting.break_time = 0.4f;
    Barrel& gone = add_barrel(g, 1580, 60, Material::Lava);
    gone.broken = true;
    gone.removed = true;

    const Material spat[] = {Material::Fire, Material::Fire, Material::Acid, Material::Plasma,
                             Material::Sand, Material::Water, Material::Stone, Material::Lava};
    int64_t n = 0;
    for (int64_t i = 0; i < 8; ++i) {
        for (int64_t k = 0; k < 4; ++k) {
            SpitParticle& q = g.spit.particles[static_cast<size_t>(n++)];
            q = SpitParticle{};
            q.x = 1520.0f + 8.0f * static_cast<float>(k) + 0.4f;
            q.y = 100.0f + 6.0f * static_cast<float>(i) + 0.7f;
            q.material = spat[i];
            q.shade = static_cast<uint8_t>(k);
            q.active = true;
            q.large = i == 1;
        }
    }
    for (int64_t i = 0; i < 6; ++i) {
        DustParticle& d = g.movement_fx.dust[static_cast<size_t>(i)];
        d = DustParticle{};
        d.x = 1580.0f + 5.0f * static_cast<float>(i);
        d.y = 110.0f;
        d.life = 0.1f * static_cast<float>(i + 1);
        d.life_max = 0.6f;
        d.color[0] = 190;
        d.color[1] = 160;
        d.color[2] = 110;
        d.color[3] = 255;
        d.size = 1 + i % 2;
    }
    expect_matches_reference("barrels_spit_dust", draw_layers(g, ACTORS));
}

// The hit-point panel at 63, the slot bar with INF, counts and an empty slot,
// the selected slot's icon as the cursor and the stage's prompt.
TEST(SceneGolden, TheHitPointPanelTheSlotBarTheCursorAndThePrompt) {
    ASSERT_TRUE(context().ready);
    Game& g = new_scene();
    g.story_stage = 13;
    g.materials_unlocked = true;
    g.player.hp = 63;
    g.inventory.slots[1] = InventorySlot{Material::Acid, 1234};
    g.inventory.slots[2] = InventorySlot{Material::Water, 2000};
    g.inventory.slots[4] = InventorySlot{Material::Plasma, 7};
    g.inventory.selected = 1;
    g.mouse_virtual = VirtualPoint{540, 300};
    expect_matches_reference("hud", draw_layers(g, HUD));

    // An empty slot selected: a white cross; no hit points: an empty bar.
    g.inventory.selected = 3;
    g.player.hp = 0;
    g.story_stage = 12;
    Image crossed = draw_layers(g, HUD);
    Atlas strip = make_atlas(VIRTUAL_W, 80, 1, 2);
    add_tile(strip, crossed, 0, 0);
    add_tile(strip, crossed, 0, 260);
    UnloadImage(crossed);
    expect_matches_reference("hud_empty_slot", strip.image);
}

TEST(SceneGolden, TheSandboxPanelOpenWithLavaChosen) {
    ASSERT_TRUE(context().ready);
    Game& g = new_scene();
    g.sandbox.sandbox_unlocked = true;
    g.sandbox.panel_open = true;
    g.sandbox.sandbox_material = Material::Lava;
    Image frame = draw_layers(g, HUD);
    Atlas atlas = make_atlas(220, 609, 1, 1);
    add_tile(atlas, frame, 0, 0);
    UnloadImage(frame);
    expect_matches_reference("sandbox_panel", atlas.image);
}

TEST(SceneGolden, TheDialogueBoxWithPortraitTextAndMarker) {
    ASSERT_TRUE(context().ready);
    // The knight's threat part typed (row 1 whole, 8 letters of row 2), and
    // the boss's question in full with its continue marker.
    Game& g = new_scene();
    place_player(g, 100, 100, 1);  // out of view
    g.dialogue_line = 4;
    g.dialogue_chars = 45.5f;
    expect_matches_reference("dialogue_typing", draw_layers(g, HUD));
    g.dialogue_line = 6;
    g.dialogue_chars = 26.0f;
    expect_matches_reference("dialogue_complete", draw_layers(g, HUD));
}

TEST(SceneGolden, TheGameOverOverlay) {
    ASSERT_TRUE(context().ready);
    Game& g = new_scene();
    place_player(g, 100, 100, 1);  // out of view
    g.screen = GameScreen::GameOver;
    g.game_over = true;
    g.player.hp = 0;
    expect_matches_reference("game_over", draw_layers(g, HUD));
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    SceneContext& ctx = context();
    ctx.out_dir = argc > 1 ? argv[1] : ".";
    ctx.reference_dir = std::string(CINDERVALE_SOURCE_DIR) + "/tests/golden/reference";
    const char* update = std::getenv("CINDERVALE_GOLDEN_UPDATE");
    ctx.update = update != nullptr && std::strcmp(update, "1") == 0;
    if (!create_game(ctx.game)) return 1;
    SetTraceLogLevel(LOG_WARNING);
    InitWindow(VIRTUAL_W, VIRTUAL_H, "Cindervale scene golden frames");
    if (IsWindowReady()) ctx.target = LoadRenderTexture(VIRTUAL_W, VIRTUAL_H);
    if (IsRenderTextureValid(ctx.target)) {
        MakeDirectory(ctx.out_dir.c_str());
        load_all_textures(ctx.game.textures);
        ctx.ready = true;
        for (const Texture2D& t : ctx.game.textures) ctx.ready = ctx.ready && IsTextureValid(t);
    }
    const int status = RUN_ALL_TESTS();
    unload_all_textures(ctx.game.textures);
    if (IsRenderTextureValid(ctx.target)) UnloadRenderTexture(ctx.target);
    if (IsWindowReady()) CloseWindow();
    destroy_game(ctx.game);
    return status;
}
