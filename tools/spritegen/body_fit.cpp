#include "body_fit.h"

#include <algorithm>

#include "combat/enemy.h"
#include "player/player.h"
#include "paint.h"
#include "world/level.h"

namespace {

// A frame pixel counts as landing on a cell when it paints most of it.
constexpr int MOSTLY = 5;  // of 9 screen pixels

constexpr Rgba VIEW_BACKGROUND = {34, 38, 52, 255};
constexpr Rgba VIEW_CELL_GRID = {44, 49, 66, 255};
constexpr Rgba VIEW_BODY_EDGE = {90, 240, 255, 255};
constexpr Rgba VIEW_UNCOVERED = {255, 60, 60, 150};

BodyMask from_rows(int w, int h, auto row_bits) {
    BodyMask m;
    m.w = w;
    m.h = h;
    m.cells.assign(static_cast<size_t>(w * h), 0);
    for (int r = 0; r < h; ++r) {
        const uint32_t bits = row_bits(r);
        for (int c = 0; c < w; ++c) m.cells[static_cast<size_t>(r * w + c)] = (bits >> c) & 1u;
    }
    return m;
}

BodyMask enemy_body(EnemyKind k) {
    const EnemyMask& em = enemy_mask(k);
    return from_rows(static_cast<int>(em.width), static_cast<int>(em.height),
                     [&](int r) { return em.rows[static_cast<size_t>(r)]; });
}

// Enemy sheets: anchor offset in cells and the column shift when mirrored.
struct EnemyAnchor {
    int dx, dy, flip_shift;
};
EnemyAnchor enemy_anchor(BodyFit fit) {
    switch (fit) {
        case BodyFit::Knight: return {-1, -8, -10};
        case BodyFit::Ogre: return {-2, -8, -10};
        case BodyFit::Barbarian: return {-2, -6, -10};
        case BodyFit::Boss: return {-45, -43, -11};
        default: return {0, 0, 0};
    }
}

// Screen-space painting of a placed frame, over a box that holds both the
// frame and the body.
struct ScreenPaint {
    int x0 = 0, y0 = 0, w = 0, h = 0;  // box in screen pixels, body top-left at (0, 0)
    std::vector<Rgba> px;

    Rgba at(int x, int y) const {
        x -= x0;
        y -= y0;
        if (x < 0 || y < 0 || x >= w || y >= h) return {0, 0, 0, 0};
        return px[static_cast<size_t>(y * w + x)];
    }
};

ScreenPaint paint_on_screen(const PixelImage& frame, BodyFit fit, bool facing_left, int pad_cells) {
    const BodyMask body = body_mask(fit);
    const Placement p = frame_placement(fit, frame.width, facing_left);
    const int pad = pad_cells * CELL_PX;
    ScreenPaint s;
    // Box around the body and the painted part of the frame.
    int fx0 = frame.width, fx1 = -1, fy0 = frame.height, fy1 = -1;
    for (int fy = 0; fy < frame.height; ++fy) {
        for (int fx = 0; fx < frame.width; ++fx) {
            if (frame.at(fx, fy).a == 0) continue;
            const int col = p.mirrored ? frame.width - 1 - fx : fx;
            fx0 = std::min(fx0, col);
            fx1 = std::max(fx1, col);
            fy0 = std::min(fy0, fy);
            fy1 = std::max(fy1, fy);
        }
    }
    int left = 0, top = 0, right = body.w * CELL_PX, bottom = body.h * CELL_PX;
    if (fx1 >= 0) {
        left = std::min(left, p.x + fx0 * CELL_PX);
        top = std::min(top, p.y + fy0 * CELL_PX);
        right = std::max(right, p.x + (fx1 + 1) * CELL_PX);
        bottom = std::max(bottom, p.y + (fy1 + 1) * CELL_PX);
    }
    // Keep the box on the cell grid so cells read as cells.
    s.x0 = (left - pad) - ((left - pad) % CELL_PX + CELL_PX) % CELL_PX;
    s.y0 = (top - pad) - ((top - pad) % CELL_PX + CELL_PX) % CELL_PX;
    s.w = right + pad - s.x0;
    s.h = bottom + pad - s.y0;
    s.w += (CELL_PX - s.w % CELL_PX) % CELL_PX;
    s.h += (CELL_PX - s.h % CELL_PX) % CELL_PX;
    s.px.assign(static_cast<size_t>(s.w * s.h), Rgba{0, 0, 0, 0});
    for (int fy = 0; fy < frame.height; ++fy) {
        for (int fx = 0; fx < frame.width; ++fx) {
            const Rgba c = frame.at(fx, fy);
            if (c.a == 0) continue;
            const int col = p.mirrored ? frame.width - 1 - fx : fx;
            for (int j = 0; j < CELL_PX; ++j) {
                for (int i = 0; i < CELL_PX; ++i) {
                    const int x = p.x + col * CELL_PX + i - s.x0, y = p.y + fy * CELL_PX + j - s.y0;
                    s.px[static_cast<size_t>(y * s.w + x)] = c;
                }
            }
        }
    }
    return s;
}

int painted_in_cell(const ScreenPaint& s, int c, int r) {
    int n = 0;
    for (int j = 0; j < CELL_PX; ++j) {
        for (int i = 0; i < CELL_PX; ++i) n += s.at(c * CELL_PX + i, r * CELL_PX + j).a != 0 ? 1 : 0;
    }
    return n;
}

}  // namespace

int BodyMask::count() const {
    int n = 0;
    for (uint8_t c : cells) n += c;
    return n;
}

BodyMask body_mask(BodyFit fit) {
    switch (fit) {
        case BodyFit::DragonSmall:
        case BodyFit::DragonLarge:
            return from_rows(static_cast<int>(PLAYER_W), static_cast<int>(PLAYER_H),
                             [](int r) { return static_cast<uint32_t>(PLAYER_MASK[static_cast<size_t>(r)]); });
        case BodyFit::Knight: return enemy_body(EnemyKind::Knight);
        case BodyFit::Ogre: return enemy_body(EnemyKind::Ogre);
        case BodyFit::Barbarian: return enemy_body(EnemyKind::Barbarian);
        case BodyFit::Boss: return enemy_body(EnemyKind::Boss);
        case BodyFit::Barrel:
            return from_rows(static_cast<int>(BARREL_W), static_cast<int>(BARREL_H),
                             [](int r) { return BARREL_SHAPE[static_cast<size_t>(r)]; });
        case BodyFit::None: break;
    }
    return {};
}

Placement frame_placement(BodyFit fit, int frame_w, bool facing_left) {
    switch (fit) {
        case BodyFit::DragonSmall:
            return {-13, -3, facing_left};
        case BodyFit::DragonLarge:
            return {facing_left ? -85 : -13, -24, facing_left};
        case BodyFit::Knight:
        case BodyFit::Ogre:
        case BodyFit::Barbarian:
        case BodyFit::Boss: {
            const EnemyAnchor a = enemy_anchor(fit);
            const int col = a.dx + (facing_left ? a.flip_shift : 0);
            return {col * CELL_PX, a.dy * CELL_PX, facing_left};
        }
        case BodyFit::Barrel:
        case BodyFit::None:
            break;
    }
    (void)frame_w;
    return {0, 0, false};
}

FitReport measure_fit(const PixelImage& frame, BodyFit fit, bool facing_left) {
    const BodyMask body = body_mask(fit);
    const ScreenPaint s = paint_on_screen(frame, fit, facing_left, 0);
    FitReport rep;
    const int c0 = s.x0 / CELL_PX, r0 = s.y0 / CELL_PX;
    for (int r = r0; r < r0 + s.h / CELL_PX; ++r) {
        for (int c = c0; c < c0 + s.w / CELL_PX; ++c) {
            const bool on_body = body.get(c, r);
            const bool painted = painted_in_cell(s, c, r) >= MOSTLY;
            rep.body_cells += on_body ? 1 : 0;
            rep.covered += on_body && painted ? 1 : 0;
            rep.sprite_cells += painted ? 1 : 0;
            rep.outside += painted && !on_body ? 1 : 0;
        }
    }
    return rep;
}

PixelImage fit_view(const PixelImage& frame, BodyFit fit, bool facing_left) {
    const BodyMask body = body_mask(fit);
    const ScreenPaint s = paint_on_screen(frame, fit, facing_left, 2);
    PixelImage out(s.w, s.h, VIEW_BACKGROUND);
    for (int y = 0; y < s.h; ++y) {
        for (int x = 0; x < s.w; ++x) {
            const int sx = x + s.x0, sy = y + s.y0;
            const bool grid = ((sx % CELL_PX) + CELL_PX) % CELL_PX == 0 || ((sy % CELL_PX) + CELL_PX) % CELL_PX == 0;
            if (grid) out.at(x, y) = VIEW_CELL_GRID;
            const Rgba c = s.at(sx, sy);
            if (c.a != 0) out.at(x, y) = mix(out.at(x, y), Rgba{c.r, c.g, c.b, 255}, c.a / 255.0f);
        }
    }
    const int c0 = s.x0 / CELL_PX, r0 = s.y0 / CELL_PX;
    for (int r = r0; r < r0 + s.h / CELL_PX; ++r) {
        for (int c = c0; c < c0 + s.w / CELL_PX; ++c) {
            if (!body.get(c, r)) continue;
            const int bx = c * CELL_PX - s.x0, by = r * CELL_PX - s.y0;
            if (painted_in_cell(s, c, r) < MOSTLY) {
                for (int j = 0; j < CELL_PX; ++j) {
                    for (int i = 0; i < CELL_PX; ++i) {
                        out.at(bx + i, by + j) = mix(out.at(bx + i, by + j), VIEW_UNCOVERED, 0.6f);
                    }
                }
            }
            // Trace the body edge on the outermost screen pixels of edge cells.
            for (int k = 0; k < CELL_PX; ++k) {
                if (!body.get(c - 1, r)) out.at(bx, by + k) = VIEW_BODY_EDGE;
                if (!body.get(c + 1, r)) out.at(bx + CELL_PX - 1, by + k) = VIEW_BODY_EDGE;
                if (!body.get(c, r - 1)) out.at(bx + k, by) = VIEW_BODY_EDGE;
                if (!body.get(c, r + 1)) out.at(bx + k, by + CELL_PX - 1) = VIEW_BODY_EDGE;
            }
        }
    }
    return out;
}
