#pragma once
// The 23 materials of the world and the property row that drives each one.

#include <array>
#include <cstddef>
#include <cstdint>

enum class Material : uint8_t {
    Empty = 0,
    Sand = 1,
    Water = 2,
    Stone = 3,
    Smoke = 4,
    Wood = 5,
    Fire = 6,
    Steam = 7,
    Plasma = 8,
    Lava = 9,
    Powder = 10,
    Boom = 11,
    Petrol = 12,
    Acid = 13,
    Iron = 14,
    Snow = 15,
    KnightDebris = 16,
    OgreDebris = 17,
    Ground = 18,
    Grass = 19,
    Glass = 20,
    Blood = 21,
    Potion = 22,
};

inline constexpr int MATERIAL_COUNT = 23;

enum class MaterialKind : int64_t {
    Empty = 0,
    Solid = 1,
    Powder = 2,
    Liquid = 3,
    Gas = 4,
};

struct MaterialProps {
    MaterialKind kind;
    uint16_t density;
    float gravity;
    float max_speed;
    uint8_t spread_chance;
    uint8_t slide_chance;
    int16_t ignite_temp;
    int16_t melt_temp;
    int16_t boil_temp;
};

inline constexpr int16_t AMBIENT_TEMP = 20;

// clang-format off
inline constexpr std::array<MaterialProps, MATERIAL_COUNT> MATERIAL_PROPS = {{
    // kind                  density gravity  max_speed spread slide ignite melt  boil
    {MaterialKind::Empty,      0,   0.0f,    0.0f,      0,    0,     0,    0,    0},  // Empty
    {MaterialKind::Powder,    90,   0.25f,   4.0f,      0,   95,     0,    0,    0},  // Sand
    {MaterialKind::Liquid,    30,   0.0f,    0.0f,      0,    0,     0,    0,  100},  // Water
    {MaterialKind::Solid,    120,   0.0f,    0.0f,      0,    0,     0, 1200,    0},  // Stone
    {MaterialKind::Gas,        5,  -0.10f,   2.0f,     55,    0,   500,    0,    0},  // Smoke
    {MaterialKind::Solid,    100,   0.0f,    0.0f,      0,    0,   150,    0,    0},  // Wood
    {MaterialKind::Gas,        3,  -0.18f,   2.0f,     70,    0,     0,    0,    0},  // Fire
    {MaterialKind::Gas,        4,  -0.20f,   3.0f,     90,    0,     0,    0,    0},  // Steam
    {MaterialKind::Gas,        2,  -0.22f,   3.0f,     95,    0,     0,    0,    0},  // Plasma
    {MaterialKind::Liquid,   110,   0.0f,    0.0f,      0,    0,     0,    0,    0},  // Lava
    {MaterialKind::Powder,    80,   0.25f,   4.0f,      0,   90,    85,    0,    0},  // Powder
    {MaterialKind::Gas,        1,  -0.15f,   3.0f,    100,    0,     0,    0,    0},  // Boom
    {MaterialKind::Liquid,    20,   0.0f,    0.0f,      0,    0,    80,    0,    0},  // Petrol
    {MaterialKind::Liquid,    32,   0.0f,    0.0f,      0,    0,     0,    0,  120},  // Acid
    {MaterialKind::Solid,    130,   0.0f,    0.0f,      0,    0,     0, 1500,    0},  // Iron
    {MaterialKind::Powder,    65,   0.12f,   2.0f,      0,   45,     0,    5,    0},  // Snow
    {MaterialKind::Powder,    70,   0.25f,   4.0f,      0,   80,     0,    0,    0},  // KnightDebris
    {MaterialKind::Powder,    70,   0.25f,   4.0f,      0,   80,     0,    0,    0},  // OgreDebris
    {MaterialKind::Solid,    105,   0.0f,    0.0f,      0,    0,     0, 1200,    0},  // Ground
    {MaterialKind::Solid,     95,   0.0f,    0.0f,      0,    0,   150,    0,    0},  // Grass
    {MaterialKind::Solid,    115,   0.0f,    0.0f,      0,    0,     0, 1000,    0},  // Glass
    {MaterialKind::Liquid,    32,   0.0f,    0.0f,      0,    0,     0,    0,    0},  // Blood
    {MaterialKind::Liquid,    30,   0.0f,    0.0f,      0,    0,     0,    0,    0},  // Potion
}};
// clang-format on
static_assert(MATERIAL_PROPS.size() == MATERIAL_COUNT);

inline constexpr const MaterialProps& props_of(Material m) {
    return MATERIAL_PROPS[static_cast<uint8_t>(m)];
}

inline constexpr MaterialKind kind_of(Material m) { return props_of(m).kind; }

// Powders, liquids and gases: the kinds that move and that never enter an actor's body.
inline constexpr bool is_moving_kind(MaterialKind k) {
    return k == MaterialKind::Powder || k == MaterialKind::Liquid || k == MaterialKind::Gas;
}

inline constexpr bool is_moving(Material m) { return is_moving_kind(kind_of(m)); }
