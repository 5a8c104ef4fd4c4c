// The hidden sandbox: the code, the panel's clicks and the painted discs.

#include <gtest/gtest.h>

#include <initializer_list>

#include "test_game.h"

namespace {

constexpr float DT = 1.0f / 60.0f;

class Sandbox : public ::testing::Test {
protected:
    GameFixture fx;
    Game& g = fx.game;
    void SetUp() override {
        start_new_game_with_seed(g, 2024);
        g.screen = GameScreen::Playing;
        g.story_stage = 3;
        g.awakening_seen = true;
        frame();
    }
    void frame(std::initializer_list<int> keys = {}, bool click = false, Vector2 mouse = {700, 300}) {
        FrameInput in = idle_input(DT);
        for (int k : keys) press_key(in, k);
        in.mouse = mouse;
        in.mouse_pressed[0] = click;
        in.mouse_down[0] = click;
        update_frame(g, in);
    }
    void type_code() {
        for (int k : {KEY_K, KEY_I, KEY_L, KEY_N, KEY_S}) frame({k});
    }
    int64_t count(Material m) const {
        int64_t n = 0;
        for (const Cell& c : g.world->cells) n += c.material == m;
        return n;
    }
};

TEST_F(Sandbox, TheCodeUnlocksTheOpenPanelAndARepeatedFirstKeyRestartsTheMatch) {
    frame({KEY_TAB});
    EXPECT_FALSE(g.sandbox.panel_open) << "TAB does nothing before the code";
    for (int k : {KEY_K, KEY_I, KEY_K}) frame({k});  // a slip: K restarts at 1
    for (int k : {KEY_I, KEY_L, KEY_N}) frame({k});
    EXPECT_FALSE(g.sandbox.sandbox_unlocked);
    frame({KEY_S});
    EXPECT_TRUE(g.sandbox.sandbox_unlocked);
    EXPECT_TRUE(g.sandbox.panel_open);
    frame({KEY_TAB});
    EXPECT_FALSE(g.sandbox.panel_open);
    frame({KEY_TAB});
    EXPECT_TRUE(g.sandbox.panel_open);
}

TEST_F(Sandbox, AWrongKeyLosesTheMatchAndSeveralKeysInAFrameCount) {
    frame({KEY_K, KEY_I, KEY_X});
    frame({KEY_L, KEY_N, KEY_S});
    EXPECT_FALSE(g.sandbox.sandbox_unlocked);
    frame({KEY_K, KEY_I, KEY_L, KEY_N, KEY_S});
    EXPECT_TRUE(g.sandbox.sandbox_unlocked);
}

TEST_F(Sandbox, ClicksSelectRowsToggleTheHeaderAndIgnoreTheMargins) {
    type_code();
    frame({}, true, Vector2{100, 128 + 29 * 8 + 2});  // row 8: lava
    EXPECT_EQ(g.sandbox.sandbox_material, Material::Lava);
    frame({}, true, Vector2{100, 128 + 29 * 8 + 22});  // between rows 8 and 9
    EXPECT_EQ(g.sandbox.sandbox_material, Material::Lava);
    frame({}, true, Vector2{14, 300});  // the panel's margin
    EXPECT_EQ(g.sandbox.sandbox_material, Material::Lava);
    frame({}, true, Vector2{100, 95});  // the header
    EXPECT_FALSE(g.sandbox.panel_open);
    const int64_t lava = count(Material::Lava);
    frame({}, true, Vector2{700, 200});
    EXPECT_EQ(count(Material::Lava), lava) << "with the panel closed a click paints nothing";
}

TEST_F(Sandbox, ADiscOfStonePaintsAroundTheClickButNeverIntoTheDragonsBox) {
    type_code();
    frame({}, true, Vector2{100, 128 + 29 * 2 + 2});  // stone
    ASSERT_EQ(g.sandbox.sandbox_material, Material::Stone);
    // Paint right on the dragon, once the camera has come to rest.
    for (int i = 0; i < 120; ++i) frame();
    const CamPx px = cam_px(g.camera);
    const float mx = static_cast<float>(3 * (g.player.x + 7) - px.x);
    const float my = static_cast<float>(3 * (g.player.y + 10) - px.y);
    for (int64_t y = g.player.y - 12; y < g.player.y + PLAYER_H; ++y) {
        for (int64_t x = g.player.x - 12; x < g.player.x + 26; ++x) set_cell(*g.world, x, y, Material::Empty);
    }
    frame({}, true, Vector2{mx, my});
    for (int64_t y = g.player.y; y < g.player.y + PLAYER_H; ++y) {
        for (int64_t x = g.player.x; x < g.player.x + PLAYER_W; ++x) {
            EXPECT_NE(cell_at(*g.world, x, y).material, Material::Stone);
        }
    }
    EXPECT_EQ(cell_at(*g.world, g.player.x - 1, g.player.y + 10).material, Material::Stone);
    EXPECT_EQ(cell_at(*g.world, g.player.x + 16, g.player.y + 10).material, Material::Stone);
    EXPECT_EQ(cell_at(*g.world, g.player.x + 17, g.player.y + 10).material, Material::Empty)
        << "the disc reaches nine cells to the right";
}

TEST_F(Sandbox, ADiscAtTheTopOfTheWorldWrites162CellsAndHoldingTheButtonDoesNotRepeat) {
    type_code();
    frame({}, true, Vector2{100, 128 + 29 * 2 + 2});  // stone
    ASSERT_EQ(g.sandbox.sandbox_material, Material::Stone);
    g.camera.pos = Vector2{0.0f, 0.0f};
    for (int64_t y = 0; y < 16; ++y) {  // the cave's rock roof, cleared
        for (int64_t x = 60; x < 170; ++x) set_cell(*g.world, x, y, Material::Empty);
    }
    const int64_t before = count(Material::Stone);
    frame({}, true, Vector2{250, 1});  // cell (83, 0)
    // Rows 0..9 of the disc lie on the grid, with half-widths 9, 9, 9, 9, 9,
    // 8, 7, 7, 5, 4 (dx^2 <= 99 - dy^2): 5 x 19 + 17 + 15 + 15 + 11 + 9.
    EXPECT_EQ(count(Material::Stone) - before, 162);
    EXPECT_EQ(cell_at(*g.world, 83 + 9, 0).material, Material::Stone);
    EXPECT_EQ(cell_at(*g.world, 83 - 10, 0).material, Material::Empty) << "dx runs from -10, but 100 > 99";
    EXPECT_EQ(cell_at(*g.world, 83 + 4, 9).material, Material::Stone);
    EXPECT_EQ(cell_at(*g.world, 83 + 5, 9).material, Material::Empty);

    // Held down, moved elsewhere: no second disc.
    const int64_t after_click = count(Material::Stone);
    FrameInput held = idle_input(DT);
    held.mouse = Vector2{450, 1};
    held.mouse_down[0] = true;
    update_frame(g, held);
    EXPECT_EQ(count(Material::Stone), after_click);
    EXPECT_EQ(cell_at(*g.world, 150, 0).material, Material::Empty);
}

TEST_F(Sandbox, ADiscOverAnEnemyPaintsOverItsBody) {
    type_code();
    frame({}, true, Vector2{100, 128 + 29 * 2 + 2});  // stone
    for (int i = 0; i < 120; ++i) frame();
    World& w = *g.world;
    ASSERT_LT(w.enemy_count, MAX_ENEMIES);
    Enemy& e = w.enemies[static_cast<size_t>(w.enemy_count++)];
    e = Enemy{};
    e.kind = static_cast<int64_t>(EnemyKind::Knight);
    e.x = g.player.x + 40;
    e.y = g.player.y;
    e.hp = 100;
    e.facing = -1;
    e.alive = true;
    const int64_t ex = e.x;
    const int64_t ey = e.y;
    const CamPx px = cam_px(g.camera);
    frame({}, true, Vector2{static_cast<float>(3 * (ex + 4) - px.x), static_cast<float>(3 * (ey + 5) - px.y)});
    int64_t body = 0;
    every_body_cell(EnemyKind::Knight, ex, ey, [&](int64_t x, int64_t y) {
        EXPECT_EQ(cell_at(w, x, y).material, Material::Stone) << x << "," << y;
        ++body;
        return true;
    });
    EXPECT_EQ(body, 72);
}

TEST_F(Sandbox, TheCodeIsNotSeenWhileALineIsOpenAndItsProgressOutlivesAGame) {
    frame({KEY_K});
    frame({KEY_I});
    start_new_game_with_seed(g, 99);
    g.story_stage = 3;
    g.awakening_seen = true;
    frame({KEY_L});
    g.dialogue_line = 5;
    frame({KEY_N});  // held by the line
    g.dialogue_line = 0;
    frame({KEY_N});
    frame({KEY_S});
    EXPECT_TRUE(g.sandbox.sandbox_unlocked);
}

TEST_F(Sandbox, AnOpenPanelOrTheHeaderStopsTheSpit) {
    type_code();
    frame({}, true, Vector2{700, 300});
    EXPECT_FALSE(g.spit_held) << "the open panel takes the click";
    frame({KEY_TAB});
    g.materials_unlocked = true;
    frame({}, true, Vector2{100, 95});
    EXPECT_FALSE(g.spit_held) << "the header takes the click (and opens the panel)";
    frame({KEY_TAB});
    frame({}, true, Vector2{700, 300});
    EXPECT_TRUE(g.spit_held);
}

}  // namespace
