// Title and settings input, and what the settings screen shows for a volume.

#include <gtest/gtest.h>

#include "app/game_menu.h"

namespace {

constexpr float DT = 1.0f / 60.0f;

struct MenuFrame {
    FrameInput in;
    Letterbox lb;
};

// A frame in a window of the given size with the mouse at a window position.
MenuFrame frame_at(float mx, float my, int w = 1080, int h = 609) {
    MenuFrame f{idle_input(DT, w, h), compute_letterbox(w, h)};
    f.in.mouse = Vector2{mx, my};
    return f;
}

void click(MenuFrame& f) {
    f.in.mouse_pressed[0] = true;
    f.in.mouse_down[0] = true;
}

void hold(MenuFrame& f) { f.in.mouse_down[0] = true; }

Settings with_volume(float volume) {
    Settings s = DEFAULT_SETTINGS;
    s.volume = volume;
    return s;
}
MenuResult title(const MenuFrame& f) {
    return menu_input(f.in, f.lb, GameScreen::Title, menu_state(GameScreen::Title, with_volume(0.75f)));
}
MenuResult settings(const MenuFrame& f, float volume = 0.75f) {
    return menu_input(f.in, f.lb, GameScreen::Settings, menu_state(GameScreen::Settings, with_volume(volume)));
}

// Centres of the buttons, in virtual pixels.
constexpr float BUTTON_X = 540.0f;
constexpr float PLAY_Y = 296.0f;
constexpr float SETTINGS_Y = 376.0f;
constexpr float BACK_Y = 482.0f;
constexpr float SLIDER_Y = 344.0f;

TEST(TitleInput, OnlyPressesCountNotHeldKeysOrButtons) {
    MenuFrame f = frame_at(BUTTON_X, PLAY_Y);
    f.in.key_down[KEY_ENTER] = true;
    f.in.key_down[KEY_SPACE] = true;
    f.in.key_down[KEY_S] = true;
    hold(f);
    const MenuResult r = title(f);
    EXPECT_EQ(r.next_screen, GameScreen::Title);
    EXPECT_FALSE(r.start_game);
    EXPECT_FLOAT_EQ(r.master_volume, 0.75f);

    MenuFrame idle = frame_at(BUTTON_X, PLAY_Y);
    EXPECT_EQ(title(idle).next_screen, GameScreen::Title);
}

TEST(TitleInput, EnterSpaceOrPlayStartAGame) {
    for (int key : {KEY_ENTER, KEY_SPACE}) {
        MenuFrame f = frame_at(10.0f, 10.0f);
        press_key(f.in, key);
        const MenuResult r = title(f);
        EXPECT_EQ(r.next_screen, GameScreen::Playing);
        EXPECT_TRUE(r.start_game);
    }
    // The hit box is inclusive at both corners.
    for (Vector2 m : {Vector2{390.0f, 265.0f}, Vector2{689.0f, 326.0f}}) {
        MenuFrame f = frame_at(m.x, m.y);
        click(f);
        EXPECT_TRUE(title(f).start_game) << m.x << "," << m.y;
    }
    MenuFrame below = frame_at(689.0f, 327.0f);
    click(below);
    EXPECT_FALSE(title(below).start_game);
}

TEST(TitleInput, SWithAClickOpensSettingsUnlessTheClickIsOnPlay) {
    MenuFrame outside = frame_at(100.0f, 100.0f);
    click(outside);
    press_key(outside.in, KEY_S);
    MenuResult r = title(outside);
    EXPECT_EQ(r.next_screen, GameScreen::Settings);
    EXPECT_FALSE(r.start_game);

    MenuFrame on_play = frame_at(BUTTON_X, PLAY_Y);
    click(on_play);
    press_key(on_play.in, KEY_S);
    r = title(on_play);
    EXPECT_EQ(r.next_screen, GameScreen::Playing);
    EXPECT_TRUE(r.start_game);

    MenuFrame on_settings = frame_at(BUTTON_X, SETTINGS_Y);
    click(on_settings);
    EXPECT_EQ(title(on_settings).next_screen, GameScreen::Settings);

    MenuFrame plain_click = frame_at(100.0f, 100.0f);
    click(plain_click);
    EXPECT_EQ(title(plain_click).next_screen, GameScreen::Title);
}

TEST(TitleInput, ClicksInTheLetterboxBarsStartNothing) {
    // 1920 x 609: bars of 420 pixels left and right.
    for (float x : {100.0f, 419.0f, 1500.0f, 1900.0f}) {
        MenuFrame f = frame_at(x, PLAY_Y, 1920, 609);
        click(f);
        const MenuResult r = title(f);
        EXPECT_EQ(r.next_screen, GameScreen::Title) << x;
        EXPECT_FALSE(r.start_game) << x;
    }
    // 1080 x 1009: bars at top and bottom, the Play column lines up.
    MenuFrame top_bar = frame_at(BUTTON_X, 150.0f, 1080, 1009);
    click(top_bar);
    EXPECT_FALSE(title(top_bar).start_game);
    // The same window still starts from the real button.
    MenuFrame inside = frame_at(BUTTON_X, PLAY_Y + 200.0f, 1080, 1009);
    click(inside);
    EXPECT_TRUE(title(inside).start_game);
}

TEST(SettingsInput, BackOrEscapeReturnWithoutChangingTheVolume) {
    MenuFrame back = frame_at(BUTTON_X, BACK_Y);
    click(back);
    press_key(back.in, KEY_RIGHT);
    MenuResult r = settings(back, 0.4f);
    EXPECT_EQ(r.next_screen, GameScreen::Title);
    EXPECT_FLOAT_EQ(r.master_volume, 0.4f);
    EXPECT_FALSE(r.start_game);

    MenuFrame escape = frame_at(771.0f, SLIDER_Y);
    hold(escape);
    press_key(escape.in, KEY_ESCAPE);
    r = settings(escape, 0.4f);
    EXPECT_EQ(r.next_screen, GameScreen::Title);
    EXPECT_FLOAT_EQ(r.master_volume, 0.4f);

    // Enter does nothing here: only the title starts games.
    MenuFrame enter = frame_at(10.0f, 10.0f);
    press_key(enter.in, KEY_ENTER);
    r = settings(enter);
    EXPECT_EQ(r.next_screen, GameScreen::Settings);
    EXPECT_FALSE(r.start_game);
}

TEST(SettingsInput, DraggingMapsTheDragAreaOntoTheTrack) {
    struct Case {
        float x, y;
        float want;
    };
    const Case cases[] = {
        {771.0f, SLIDER_Y, 1.0f},  // right end of the drag area
        {760.0f, SLIDER_Y, 1.0f},
        {540.0f, SLIDER_Y, 0.5f},
        {320.0f, SLIDER_Y, 0.0f},
        {308.0f, SLIDER_Y, 0.0f},   // left end of the drag area
        {790.0f, SLIDER_Y, 0.75f},  // outside: unchanged
        {540.0f, 318.0f, 0.75f},
        {540.0f, 375.0f, 0.75f},
        {540.0f, 319.0f, 0.5f},
        {540.0f, 374.0f, 0.5f},
    };
    for (const Case& c : cases) {
        MenuFrame f = frame_at(c.x, c.y);
        hold(f);
        const MenuResult r = settings(f);
        EXPECT_FLOAT_EQ(r.master_volume, c.want) << c.x << "," << c.y;
        EXPECT_EQ(r.next_screen, GameScreen::Settings);
    }
    // Without the button held the mouse changes nothing.
    EXPECT_FLOAT_EQ(settings(frame_at(771.0f, SLIDER_Y)).master_volume, 0.75f);
    // In a doubled window the mouse is mapped to virtual pixels first.
    MenuFrame big = frame_at(1542.0f, 2.0f * SLIDER_Y, 2160, 1218);
    hold(big);
    EXPECT_FLOAT_EQ(settings(big).master_volume, 1.0f);
}

TEST(SettingsInput, ArrowKeysStepTheVolumeWithinItsRange) {
    MenuFrame left = frame_at(10.0f, 10.0f);
    press_key(left.in, KEY_LEFT);
    EXPECT_FLOAT_EQ(settings(left, 0.0f).master_volume, 0.0f);
    EXPECT_FLOAT_EQ(settings(left, 0.5f).master_volume, 0.45f);
    EXPECT_FLOAT_EQ(settings(left, 0.03f).master_volume, 0.0f);

    MenuFrame right = frame_at(10.0f, 10.0f);
    press_key(right.in, KEY_RIGHT);
    EXPECT_FLOAT_EQ(settings(right, 1.0f).master_volume, 1.0f);
    EXPECT_FLOAT_EQ(settings(right, 0.98f).master_volume, 1.0f);

    // Held arrows do not repeat.
    MenuFrame held = frame_at(10.0f, 10.0f);
    held.in.key_down[KEY_RIGHT] = true;
    EXPECT_FLOAT_EQ(settings(held, 0.5f).master_volume, 0.5f);

    // The drag is applied first, then the key.
    MenuFrame both = frame_at(760.0f, SLIDER_Y);
    hold(both);
    press_key(both.in, KEY_LEFT);
    EXPECT_FLOAT_EQ(settings(both).master_volume, 0.95f);
}

TEST(VolumeDisplay, PercentRoundsHalfUpAndFillMatchesTheTrack) {
    EXPECT_EQ(volume_percent(0.75f), 75);
    EXPECT_EQ(volume_fill_px(0.75f), 330);
    EXPECT_EQ(volume_percent(3.0f / 440.0f), 1);
    EXPECT_EQ(volume_fill_px(3.0f / 440.0f), 3);
    EXPECT_EQ(volume_percent(0.0f), 0);
    EXPECT_EQ(volume_fill_px(0.0f), 0);
    EXPECT_EQ(volume_percent(1.0f), 100);
    EXPECT_EQ(volume_fill_px(1.0f), 440);
    // Five steps down from the start shows 50, not 49.
    float v = 0.75f;
    for (int i = 0; i < 5; ++i) v = std::max(v - 0.05f, 0.0f);
    EXPECT_EQ(volume_percent(v), 50);
}

}  // namespace
