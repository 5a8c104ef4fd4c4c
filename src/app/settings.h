#pragma once
// The one file the game writes: the player's volume and window choice, kept
// between runs in settings.ini under the user's config folder.

#include <cstddef>

struct Settings {
    float volume;  // 0..1
    bool fullscreen;
};

inline constexpr Settings DEFAULT_SETTINGS = {0.75f, false};
inline constexpr size_t SETTINGS_PATH_MAX = 512;
inline constexpr size_t SETTINGS_PROBLEM_MAX = 200;

inline bool same_settings(const Settings& a, const Settings& b) {
    return a.volume == b.volume && a.fullscreen == b.fullscreen;
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
