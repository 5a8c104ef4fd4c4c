#pragma once
// Every line of on-screen lettering the game shows as an image: menu labels,
// stage prompts, the nine dialogue lines and the ending caption.

#include "png_writer.h"

// A label or prompt: text centred in an image of fixed size; a second row
// (may be empty) sits in the lower half.
struct LabelText {
    const char* path;
    int width, height;
    int scale;
    bool descenders;
    const char* row1;
    const char* row2;
};

// A dialogue line: fixed cells of 16 x 30 pixels, one or two rows whose
// lengths the dialogue box relies on for its typewriter reveal.
struct DialogueText {
    const char* path;
    int width, height;
    int row1_chars, row2_chars;
    const char* row1;
    const char* row2;
};

inline constexpr int DIALOGUE_CELL_WIDTH = 16;
inline constexpr int DIALOGUE_ROW_HEIGHT = 30;
inline constexpr int LABEL_COUNT = 17;
inline constexpr int DIALOGUE_COUNT = 9;

extern const LabelText LABELS[LABEL_COUNT];
extern const DialogueText DIALOGUES[DIALOGUE_COUNT];

PixelImage render_label(const LabelText& label);
PixelImage render_dialogue(const DialogueText& line);
