// The story's fixed tables as a player meets them: who says each line, how
// its two rows split, the prompt of each stage, and how much of a line the
// dialogue box shows as it types out.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "render/hud.h"
#include "story/intro.h"

namespace {

enum class Speaker { Dragon, Knight, Boss };

struct SpokenLine {
    const char* image;
    Speaker portrait;
    SfxCue blip;
    const char* row1;  // the words of each row, counted here for the split
    const char* row2;
};

// clang-format off
const SpokenLine SCRIPT[DIALOGUE_LINE_COUNT] = {
    {"assets/ui/dialogue_awakening.png",     Speaker::Dragon, SfxCue::DragonBlip, "I am awake. Where am I?", ""},
    {"assets/ui/dialogue_knight.png",        Speaker::Knight, SfxCue::KnightBlip, "Halt there, wyrm! No dragon shall", "set foot in my vale."},
    {"assets/ui/dialogue_dragon_shock.png",  Speaker::Dragon, SfxCue::DragonBlip, "A knight? What did I do?!", ""},
    {"assets/ui/dialogue_knight_threat.png", Speaker::Knight, SfxCue::KnightBlip, "Your kind burned our homes. Kneel, or", "my blade shall end you, beast!"},
    {"assets/ui/dialogue_dragon_vow.png",    Speaker::Dragon, SfxCue::DragonBlip, "I burned nothing! But strike at me,", "and you'll know fire."},
    // The boss asks, but the line blips with the dragon's voice.
    {"assets/ui/dialogue_boss_question.png", Speaker::Boss,   SfxCue::DragonBlip, "Why have you come, dragon?", ""},
    {"assets/ui/dialogue_boss_answer.png",   Speaker::Dragon, SfxCue::DragonBlip, "To end the hunt and free the vale.", ""},
    {"assets/ui/dialogue_boss_defiance.png", Speaker::Dragon, SfxCue::DragonBlip, "Not yet! My fire burns hotter!", ""},
    {"assets/ui/dialogue_boss_farewell.png", Speaker::Dragon, SfxCue::DragonBlip, "Farewell, knight. Rest.", ""},
};
// clang-format on

std::string portrait_path(Speaker s) {
    switch (s) {
        case Speaker::Dragon: return "dragon_icon.png";
        case Speaker::Knight: return "blue_knight_icon.png";
        case Speaker::Boss: return "boss_knight_icon.png";
    }
    return "";
}

int64_t letters(const char* row) { return static_cast<int64_t>(std::strlen(row)); }

TEST(DialogueTable, EachLineHasItsSpeakersPortraitAndBlipAndSplitsWhereItsWordsDo) {
    for (int64_t line = 1; line <= DIALOGUE_LINE_COUNT; ++line) {
        const SpokenLine& want = SCRIPT[line - 1];
        const DialogueLine& got = dialogue_line_info(line);
        SCOPED_TRACE("line " + std::to_string(line));
        EXPECT_STREQ(TEXTURE_ASSETS[got.text].path, want.image);
        EXPECT_EQ(TEXTURE_ASSETS[got.portrait].path, portrait_path(want.portrait));
        EXPECT_EQ(got.blip, want.blip);
        EXPECT_EQ(got.row1, letters(want.row1));
        EXPECT_EQ(got.row2, letters(want.row2));
        EXPECT_EQ(dialogue_total(line), letters(want.row1) + letters(want.row2));
        // The text image holds 16-pixel glyphs in 30-pixel rows, so its size
        // must agree with the split the box reveals by.
        const TextureAsset& image = TEXTURE_ASSETS[got.text];
        EXPECT_EQ(image.width, 16 * std::max(got.row1, got.row2));
        EXPECT_EQ(image.height, got.row2 > 0 ? 60 : 30);
    }
}

TEST(DialogueTable, ALineNumberOutsideOneToNineHasNoTextButDrawsAsLineOne) {
    for (int64_t line : {-1, 0, 10, 99}) {
        EXPECT_EQ(dialogue_total(line), 0) << line;
        EXPECT_EQ(&dialogue_line_info(line), &dialogue_line_info(1)) << line;
    }
}

TEST(DialogueTable, EachStageShowsItsPrompt) {
    const char* want[LAST_STORY_STAGE + 1] = {
        "assets/ui/intro_egg.png", nullptr, nullptr, "assets/ui/intro_move.png",
        "assets/ui/intro_fire.png", "assets/ui/intro_fire.png", nullptr, nullptr, nullptr, nullptr, nullptr,
        "assets/ui/intro_fight.png", nullptr, "assets/ui/intro_barrel.png", nullptr,
    };
    for (int64_t stage = 0; stage <= LAST_STORY_STAGE; ++stage) {
        const int prompt = stage_prompt(stage);
        if (want[stage] == nullptr) {
            EXPECT_EQ(prompt, NO_PROMPT) << "stage " << stage;
        } else {
            ASSERT_NE(prompt, NO_PROMPT) << "stage " << stage;
            EXPECT_STREQ(TEXTURE_ASSETS[prompt].path, want[stage]) << "stage " << stage;
        }
    }
    EXPECT_EQ(stage_prompt(-1), NO_PROMPT);
    EXPECT_EQ(stage_prompt(LAST_STORY_STAGE + 1), NO_PROMPT);
}

// --- The typewriter ---------------------------------------------------------------

void expect_shown(int64_t line, float chars, int64_t row1, int64_t row2, bool complete) {
    const RevealedText t = revealed_text(line, chars);
    EXPECT_EQ(t.row1, row1) << "line " << line << " at " << chars;
    EXPECT_EQ(t.row2, row2) << "line " << line << " at " << chars;
    EXPECT_EQ(t.complete, complete) << "line " << line << " at " << chars;
}

TEST(DialogueReveal, RowOneFillsFirstThenRowTwoAndTheMarkerShowsAtTheTotal) {
    // Line 2: 33 letters, then 20.
    expect_shown(2, 0.0f, 0, 0, false);
    expect_shown(2, 12.9f, 12, 0, false);
    expect_shown(2, 33.0f, 33, 0, false);
    expect_shown(2, 33.99f, 33, 0, false);
    expect_shown(2, 40.5f, 33, 7, false);
    expect_shown(2, 52.99f, 33, 19, false);
    expect_shown(2, 53.0f, 33, 20, true);
    expect_shown(2, 80.0f, 33, 20, true);
    // Line 7 has one row: nothing ever spills into a second.
    expect_shown(7, 33.5f, 33, 0, false);
    expect_shown(7, 34.0f, 34, 0, true);
    expect_shown(7, 50.0f, 34, 0, true);
}

TEST(DialogueReveal, OutOfRangeLinesAndNegativeCountsShowNothingOdd) {
    expect_shown(10, 5.0f, 0, 0, true);  // above 9: no text, nothing left to type
    expect_shown(0, 5.0f, 5, 0, false);  // drawn as line 1 (23 letters)
    expect_shown(1, -3.0f, 0, 0, false);
}

}  // namespace
