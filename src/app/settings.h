#pragma once
// The one file the game writes: the player's volume and window choice, kept
// between runs in settings.ini under the user's config folder.

#include <array>
#include <cstddef>
#include <cstdint>

struct Settings {
    float volume;  // 0..1
    bool fullscreen;
    // Assists: how fast the world runs and how much of each blow the dragon
    // takes, in percent. At 100 both leave the game exactly as designed.
    int64_t game_speed_pct;
    int64_t damage_taken_pct;
};

inline constexpr Settings DEFAULT_SETTINGS = {0.75f, false, 100, 100};
inline constexpr std::array<int64_t, 6> GAME_SPEED_CHOICES = {100, 90, 80, 70, 60, 50};
inline constexpr std::array<int64_t, 3> DAMAGE_TAKEN_CHOICES = {100, 50, 0};
static_assert(GAME_SPEED_CHOICES[0] == 100 && DAMAGE_TAKEN_CHOICES[0] == 100, "the first choice is the default");

// The next value of an assist's list after `value`, wrapping; `step` -1 goes back.
template <size_t N>
int64_t next_choice(const std::array<int64_t, N>& choices, int64_t value, int step) {
    size_t i = 0;
    while (i < N && choices[i] != value) ++i;
    if (i == N) return choices[0];
    return choices[(i + N + (step < 0 ? N - 1 : 1)) % N];
}
inline constexpr size_t SETTINGS_PATH_MAX = 512;
inline constexpr size_t SETTINGS_PROBLEM_MAX = 200;

inline bool same_settings(const Settings& a, const Settings& b) {
    return a.volume == b.volume && a.fullscreen == b.fullscreen && a.game_speed_pct == b.game_speed_pct &&
           a.damage_taken_pct == b.damage_taken_pct;
}

enum class SettingsStatus { Loaded, Missing, Unreadable };

struct SettingsLoad {
    Settings settings;  // the defaults unless the file was read whole
    SettingsStatus status;
    char problem[SETTINGS_PROBLEM_MAX];  // what was wrong, for the one warning line
};

// $XDG_CONFIG_HOME/cindervale/settings.ini, else ~/.config/cindervale/settings.ini.
// False (and an empty path) when neither folder is known or the path is too long.
bool settings_file_path(const char* xdg_config_home, const char* home, char (&out)[SETTINGS_PATH_MAX]);

// Reads the file; a missing, empty, truncated, binary or out-of-range file
// gives the defaults and says why. Never fails harder than that.
SettingsLoad read_settings_file(const char* path);

// Writes a temporary file beside `path` and renames it over, creating the
// folders on the way. Returns false with the reason when it could not.
bool write_settings_file(const char* path, const Settings& s, char (&problem)[SETTINGS_PROBLEM_MAX]);

// The same contents as text, for a store that is not a file (a browser's
// local storage): `text` holds n bytes and is changed while it is read.
SettingsLoad settings_from_text(char* text, size_t n);
// Returns the text's length, or -1 when `cap` is too small.
int settings_to_text(const Settings& s, char* out, size_t cap);

// Where this build keeps its settings: the file on a desktop, the page's
// local storage in a browser (where `path` only names it in messages).
SettingsLoad fetch_settings(const char* path);
bool store_settings(const char* path, const Settings& s, char (&problem)[SETTINGS_PROBLEM_MAX]);
