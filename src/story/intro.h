#pragma once
// The fixed script every game follows, from the egg to the boss: the story
// stages, the dialogue lines with their typewriter reveal, and the prompts
// shown at each stage.

#include <array>
#include <cstdint>

#include "assets/embedded_assets.h"
#include "assets/game_audio.h"

struct Game;
struct FrameInput;

inline constexpr int64_t DIALOGUE_LINE_COUNT = 9;
inline constexpr float DIALOGUE_CHARS_PER_SECOND = 31.0f;
inline constexpr int64_t LAST_STORY_STAGE = 14;

struct DialogueLine {
    TextureId text;
    TextureId portrait;
    SfxCue blip;
    int64_t row1;  // characters in the first row of the text image
    int64_t row2;
};

// clang-format off
inline constexpr std::array<DialogueLine, DIALOGUE_LINE_COUNT> DIALOGUE_LINES = {{
    {TEX_DIALOGUE_AWAKENING,      TEX_DRAGON_ICON,       SfxCue::DragonBlip, 23,  0},
    {TEX_DIALOGUE_KNIGHT,         TEX_BLUE_KNIGHT_ICON,  SfxCue::KnightBlip, 33, 20},
    {TEX_DIALOGUE_DRAGON_SHOCK,   TEX_DRAGON_ICON,       SfxCue::DragonBlip, 25,  0},
    {TEX_DIALOGUE_KNIGHT_THREAT,  TEX_BLUE_KNIGHT_ICON,  SfxCue::KnightBlip, 37, 30},
    {TEX_DIALOGUE_DRAGON_VOW,     TEX_DRAGON_ICON,       SfxCue::DragonBlip, 35, 21},
    {TEX_DIALOGUE_BOSS_QUESTION,  TEX_BOSS_KNIGHT_ICON,  SfxCue::DragonBlip, 26,  0},
    {TEX_DIALOGUE_BOSS_ANSWER,    TEX_DRAGON_ICON,       SfxCue::DragonBlip, 34,  0},
    {TEX_DIALOGUE_BOSS_DEFIANCE,  TEX_DRAGON_ICON,       SfxCue::DragonBlip, 30,  0},
    {TEX_DIALOGUE_BOSS_FAREWELL,  TEX_DRAGON_ICON,       SfxCue::DragonBlip, 23,  0},
}};
// clang-format on
static_assert(DIALOGUE_LINES.size() == DIALOGUE_LINE_COUNT);

// Line 1 stands in for any line number outside 1..9 when drawing; above 9
// it shows no text.
const DialogueLine& dialogue_line_info(int64_t line);
int64_t dialogue_total(int64_t line);

inline constexpr int NO_PROMPT = -1;
// The prompt image of each story stage, NO_PROMPT where there is none.
inline constexpr std::array<int, LAST_STORY_STAGE + 1> STAGE_PROMPTS = {
    TEX_INTRO_EGG, NO_PROMPT, NO_PROMPT, TEX_INTRO_MOVE, TEX_INTRO_FIRE,  TEX_INTRO_FIRE,
    NO_PROMPT,     NO_PROMPT, NO_PROMPT, NO_PROMPT,      NO_PROMPT,       TEX_INTRO_FIGHT,
    NO_PROMPT,     TEX_INTRO_BARREL, NO_PROMPT,
};
static_assert(STAGE_PROMPTS.size() == 15);
int stage_prompt(int64_t stage);

// Frame input: any key cracks the egg (story stage 0).
void crack_egg(Game& game, FrameInput& input);
// Frame input while a line is open: reveal it, or close it once fully shown.
void update_dialogue(Game& game, FrameInput& input);
// Once per logic step, after the dragon has moved.
void step_story(Game& game);
// At the end of a logic step, after the enemies have moved.
void check_last_intro_stage(Game& game);
// Once per frame after the logic steps and the camera.
void open_story_dialogues(Game& game);
