#include "contact.h"

#include "lettering.h"
#include "paint.h"
#include "pixel_font.h"
#include "portraits.h"
#include "shaders.h"
#include "swatches.h"

namespace {

constexpr int FRAME_W = 1080, FRAME_H = 609;

const PixelImage& image_of(const std::vector<GeneratedAsset>& assets, const char* path) {
    static const PixelImage empty;
    const GeneratedAsset* a = find_asset(assets, path);
    return a != nullptr && a->is_image ? a->image : empty;
}

void fill(PixelImage& img, int x, int y, int w, int h, Rgba c) {
    const float a = static_cast<float>(c.a) / 255.0f;
    for (int yy = y; yy < y + h; ++yy) {
        for (int xx = x; xx < x + w; ++xx) {
            if (!img.inside(xx, yy)) continue;
            Rgba& d = img.at(xx, yy);
            d = to_rgba(mix(from_rgba(d), from_rgba(c), a), 255);
        }
    }
}

// Point-sampled stretch of a source rectangle, the way the game draws
// unfiltered textures; tint multiplies like raylib's vertex colour.
void draw_stretched(PixelImage& dst, const PixelImage& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                    int dh, Rgba tint = {255, 255, 255, 255}) {
    for (int y = 0; y < dh; ++y) {
        const int ty = sy + static_cast<int>((static_cast<int64_t>(y) * 2 + 1) * sh / (2 * static_cast<int64_t>(dh)));
        for (int x = 0; x < dw; ++x) {
            const int tx = sx + static_cast<int>((static_cast<int64_t>(x) * 2 + 1) * sw / (2 * static_cast<int64_t>(dw)));
            if (!src.inside(tx, ty) || !dst.inside(dx + x, dy + y)) continue;
            Rgba s = src.at(tx, ty);
            s = {static_cast<uint8_t>(s.r * tint.r / 255), static_cast<uint8_t>(s.g * tint.g / 255),
                 static_cast<uint8_t>(s.b * tint.b / 255), static_cast<uint8_t>(s.a * tint.a / 255)};
            fill(dst, dx + x, dy + y, 1, 1, s);
        }
    }
}

void draw_whole(PixelImage& dst, const PixelImage& src, int x, int y) { blit(dst, src, x, y); }

// The play background for a camera column: scrolled panorama and the
// darkening veil the game lays over it.
PixelImage play_background(const std::vector<GeneratedAsset>& assets, float camera_x) {
    const PixelImage& pano = image_of(assets, "assets/backgrounds/medieval_panorama.png");
    PixelImage frame(FRAME_W, FRAME_H, {13, 17, 25, 255});
    const float v = static_cast<float>(pano.height) * 1080.0f / 609.0f;
    const int sx = static_cast<int>(clamp01(camera_x / 3040.0f) * (static_cast<float>(pano.width) - v));
    PixelImage crop(static_cast<int>(v), pano.height);
    for (int y = 0; y < crop.height; ++y) {
        for (int x = 0; x < crop.width; ++x) crop.at(x, y) = pano.at(sx + x, y);
    }
    frame = downscale(crop, FRAME_W, FRAME_H);
    fill(frame, 0, 0, FRAME_W, FRAME_H, {10, 16, 28, 110});
    return frame;
}

PixelImage menu_mock(const std::vector<GeneratedAsset>& assets, bool settings) {
    PixelImage frame(FRAME_W, FRAME_H, {37, 39, 55, 255});
    const PixelImage& brick = image_of(assets, "assets/backgrounds/cave_brick_seamless.png");
    const int t = 4 * brick.width;
    for (int y = 0; y < FRAME_H; y += t) {
        for (int x = 0; x < FRAME_W; x += t) draw_stretched(frame, brick, 0, 0, brick.width, brick.height, x, y, t, t);
    }
    fill(frame, 0, 0, FRAME_W, FRAME_H, {8, 12, 24, 95});
    draw_text(frame, "CINDERVALE", 300, 108, TextStyle{5, false});
    fill(frame, 275, 173, 530, 3, {160, 114, 76, 255});
    auto button = [&](const char* label, int y, bool hover) {
        fill(frame, 390, y, 300, 62, hover ? Rgba{255, 211, 132, 255} : Rgba{176, 137, 88, 255});
        fill(frame, 394, y + 4, 292, 54, {30, 35, 53, 245});
        const PixelImage& img = image_of(assets, label);
        draw_whole(frame, img, 540 - img.width / 2, y + (62 - img.height) / 2);
    };
    if (!settings) {
        button("assets/ui/menu_play.png", 265, true);
        button("assets/ui/menu_settings.png", 345, false);
    } else {
        const PixelImage& vol = image_of(assets, "assets/ui/menu_volume.png");
        draw_whole(frame, vol, 540 - vol.width / 2, 269);
        fill(frame, 315, 333, 450, 22, {173, 139, 94, 255});
        fill(frame, 320, 338, 440, 12, {28, 31, 47, 255});
        fill(frame, 320, 338, 330, 12, {245, 187, 99, 255});
        fill(frame, 644, 330, 12, 28, {255, 225, 155, 255});
        button("assets/ui/menu_back.png", 451, false);
    }
    return frame;
}

void draw_prompt(PixelImage& frame, const PixelImage& prompt) {
    const int x = (1080 - prompt.width) / 2;
    fill(frame, x - 12, 577 - prompt.height, prompt.width + 24, prompt.height + 16, {9, 15, 24, 206});
    draw_whole(frame, prompt, x, 585 - prompt.height);
}

PixelImage dialogue_mock(const std::vector<GeneratedAsset>& assets, int line_index, int portrait_index, float camera_x) {
    PixelImage frame = play_background(assets, camera_x);
    const DialogueText& line = DIALOGUES[line_index];
    const PixelImage& text = image_of(assets, line.path);
    const PixelImage& portrait = image_of(assets, PORTRAITS[portrait_index].path);
    fill(frame, 0, 0, FRAME_W, FRAME_H, {8, 10, 20, 95});
    fill(frame, 45, 410, 990, 169, {207, 175, 116, 255});
    fill(frame, 49, 414, 982, 161, {24, 28, 42, 244});
    fill(frame, 61, 426, 134, 134, {9, 12, 23, 255});
    draw_stretched(frame, portrait, 0, 0, portrait.width, portrait.height, 64, 429, 128, 128);
    draw_stretched(frame, text, 0, 0, 16 * line.row1_chars, 30, 214, 441, 16 * line.row1_chars, 30);
    if (line.row2_chars > 0) draw_stretched(frame, text, 0, 30, 16 * line.row2_chars, 30, 214, 471, 16 * line.row2_chars, 30);
    return frame;
}

PixelImage ending_mock(const std::vector<GeneratedAsset>& assets) {
    PixelImage frame = image_of(assets, "assets/backgrounds/ending_sunset_wide.png");
    fill(frame, 0, 494, 1080, 115, {20, 12, 27, 195});
    const PixelImage& title = image_of(assets, "assets/ui/ending_title.png");
    draw_whole(frame, title, (1080 - title.width) / 2, 513);
    return frame;
}

// Cave wall, a stone bed and a wooden hut drawn the way the world draws
// cells: 3 x 3 pixels each, coloured from the swatch subsample.
PixelImage materials_mock(const std::vector<GeneratedAsset>& assets) {
    PixelImage frame = play_background(assets, 900.0f);
    const PixelImage& brick = image_of(assets, "assets/backgrounds/cave_brick_seamless.png");
    const PixelImage stone = subsample_cells(image_of(assets, "assets/textures/stone_texture.png"), SWATCH_STEP);
    const PixelImage wood = subsample_cells(image_of(assets, "assets/textures/wood_texture.png"), SWATCH_STEP);
    const int cave_cols = 120;
    for (int ty = 0; ty < 203; ty += brick.height) {
        for (int tx = 0; tx < cave_cols; tx += brick.width) {
            draw_stretched(frame, brick, 0, 0, brick.width, brick.height, tx * 3, ty * 3, brick.width * 3, brick.height * 3,
                           {108, 115, 139, 255});
        }
    }
    const int top_row = 230;  // world row of the view's top
    for (int cy = 0; cy < 203; ++cy) {
        for (int cx = 0; cx < 360; ++cx) {
            const int wy = top_row + cy, wx = 800 + cx;
            const bool is_stone = cy > 120 + (cx / 40) % 3 * 4;
            const bool is_wood = !is_stone && cx > 200 && cx < 300 && cy > 60;
            Rgba c{0, 0, 0, 0};
            if (is_stone) {
                const int sx = ((wx % stone.width) + stone.width) % stone.width;
                const int sy = (((wy - 242) % stone.height) + stone.height) % stone.height;
                c = stone.at(sx, sy);
            } else if (is_wood) {
                c = wood.at(wx % wood.width, wy % wood.height);
            } else {
                continue;
            }
            fill(frame, cx * 3, cy * 3, 3, 3, c);
        }
    }
    return frame;
}

PixelImage prompts_mock(const std::vector<GeneratedAsset>& assets) {
    PixelImage frame = play_background(assets, 200.0f);
    int y_shift = 0;
    for (int i = 4; i < 9; ++i) {
        const PixelImage& prompt = image_of(assets, LABELS[i].path);
        const int x = (1080 - prompt.width) / 2;
        const int bottom = 593 - y_shift;
        fill(frame, x - 12, bottom - prompt.height - 16, prompt.width + 24, prompt.height + 16, {9, 15, 24, 206});
        draw_whole(frame, prompt, x, bottom - prompt.height - 8);
        y_shift += prompt.height + 40;
    }
    return frame;
}

PixelImage slowmo_mock(const std::vector<GeneratedAsset>& assets) {
    PixelImage frame = play_background(assets, 800.0f);
    fill(frame, 0, 0, FRAME_W, FRAME_H, {34, 79, 189, 76});
    draw_prompt(frame, image_of(assets, "assets/ui/intro_fight.png"));
    for (Rgba& p : frame.pixels) {
        const GradeColour g = slowmo_grade({p.r / 255.0f, p.g / 255.0f, p.b / 255.0f, 1.0f});
        p = to_rgba({g.r * 255.0f, g.g * 255.0f, g.b * 255.0f});
    }
    return frame;
}

PixelImage portraits_sheet() {
    PixelImage sheet(3 * 300 + 20, 300, {24, 28, 42, 255});
    for (int i = 0; i < PORTRAIT_COUNT; ++i) {
        const PixelImage cells = portrait_cells(PORTRAITS[i]);
        draw_stretched(sheet, cells, 0, 0, cells.width, cells.height, 10 + i * 300, 10, 256, 256);
    }
    return sheet;
}

PixelImage swatch_sheet(const std::vector<GeneratedAsset>& assets) {
    // The cell patterns at 3 pixels per cell, repeated 2 x 2 to show seams.
    const PixelImage stone = subsample_cells(image_of(assets, "assets/textures/stone_texture.png"), SWATCH_STEP);
    const PixelImage wood = subsample_cells(image_of(assets, "assets/textures/wood_texture.png"), SWATCH_STEP);
    const PixelImage& brick = image_of(assets, "assets/backgrounds/cave_brick_seamless.png");
    PixelImage sheet(1080, 400, {13, 17, 25, 255});
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 2; ++c) {
            draw_stretched(sheet, stone, 0, 0, stone.width, stone.height, 10 + c * stone.width * 3, 10 + r * stone.height * 3,
                           stone.width * 3, stone.height * 3);
            draw_stretched(sheet, wood, 0, 0, wood.width, wood.height, 580 + c * wood.width * 3, 10 + r * wood.height * 3,
                           wood.width * 3, wood.height * 3);
            draw_stretched(sheet, brick, 0, 0, brick.width, brick.height, 760 + c * 42, 220 + r * 42, 42, 42,
                           {108, 115, 139, 255});
            draw_stretched(sheet, brick, 0, 0, brick.width, brick.height, 860 + c * 56, 220 + r * 56, 56, 56);
        }
    }
    return sheet;
}

PixelImage lettering_sheet(const std::vector<GeneratedAsset>& assets) {
    PixelImage sheet(1240, 640, {24, 28, 42, 255});
    int x = 10, y = 10, row_h = 0;
    auto place = [&](const PixelImage& img) {
        if (x + img.width > sheet.width - 10) {
            x = 10;
            y += row_h + 10;
            row_h = 0;
        }
        fill(sheet, x - 1, y - 1, img.width + 2, img.height + 2, {60, 60, 80, 255});
        fill(sheet, x, y, img.width, img.height, {24, 28, 42, 255});
        blit(sheet, img, x, y);
        x += img.width + 12;
        row_h = img.height > row_h ? img.height : row_h;
    };
    for (const char* specimen : {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz", "0123456789 .,!?'-:;/*"}) {
        const TextStyle style{3, true};
        PixelImage line(text_width(specimen, style), line_height(style));
        draw_text(line, specimen, 0, 0, style);
        place(line);
    }
    for (const LabelText& l : LABELS) place(image_of(assets, l.path));
    for (const DialogueText& d : DIALOGUES) place(image_of(assets, d.path));
    return sheet;
}

}  // namespace

std::vector<Preview> make_previews(const std::vector<GeneratedAsset>& assets) {
    std::vector<Preview> out;
    out.push_back({"play_start", play_background(assets, 0.0f)});
    out.push_back({"play_middle", play_background(assets, 1520.0f)});
    out.push_back({"play_end", play_background(assets, 3040.0f)});
    out.push_back({"title", menu_mock(assets, false)});
    out.push_back({"settings", menu_mock(assets, true)});
    out.push_back({"ending", ending_mock(assets)});
    out.push_back({"dialogue_dragon", dialogue_mock(assets, 0, 0, 120.0f)});
    out.push_back({"dialogue_knight", dialogue_mock(assets, 3, 1, 560.0f)});
    out.push_back({"dialogue_boss", dialogue_mock(assets, 5, 2, 1080.0f)});
    out.push_back({"prompts", prompts_mock(assets)});
    out.push_back({"materials", materials_mock(assets)});
    out.push_back({"slowmo", slowmo_mock(assets)});
    out.push_back({"portraits", portraits_sheet()});
    {
        // The dragon on the crag, doubled, to judge its outline.
        const PixelImage& sunset = image_of(assets, "assets/backgrounds/ending_sunset_wide.png");
        PixelImage crop(1080, 600);
        draw_stretched(crop, sunset, 0, 140, 540, 300, 0, 0, 1080, 600);
        out.push_back({"ending_dragon", crop});
    }
    out.push_back({"swatches", swatch_sheet(assets)});
    out.push_back({"lettering", lettering_sheet(assets)});
    return out;
}

PixelImage make_contact_sheet(const std::vector<GeneratedAsset>& assets) {
    const std::vector<Preview> previews = make_previews(assets);
    const int W = 1640, pad = 10;
    const PixelImage& pano = image_of(assets, "assets/backgrounds/medieval_panorama.png");
    const int pano_h = pano.height * (W - 2 * pad) / pano.width;
    // Twelve frame mock-ups in rows of three, then the detail sheets.
    const int tile_w = (W - 4 * pad) / 3, tile_h = tile_w * FRAME_H / FRAME_W;
    int height = pad + pano_h + pad + 4 * (tile_h + pad);
    auto fitted_height = [&](const PixelImage& img) {
        return img.width <= W - 2 * pad ? img.height : img.height * (W - 2 * pad) / img.width;
    };
    for (size_t i = 12; i < previews.size(); ++i) height += fitted_height(previews[i].image) + pad;
    PixelImage sheet(W, height, {12, 12, 18, 255});
    blit(sheet, downscale(pano, W - 2 * pad, pano_h), pad, pad);
    int y = pad + pano_h + pad;
    for (int i = 0; i < 12; ++i) {
        const int col = i % 3;
        blit(sheet, downscale(previews[static_cast<size_t>(i)].image, tile_w, tile_h), pad + col * (tile_w + pad), y);
        if (col == 2) y += tile_h + pad;
    }
    for (size_t i = 12; i < previews.size(); ++i) {
        const PixelImage& img = previews[i].image;
        const int h = fitted_height(img);
        blit(sheet, h == img.height ? img : downscale(img, W - 2 * pad, h), pad, y);
        y += h + pad;
    }
    return sheet;
}
