#include "app/settings.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>

// The page's local storage holds the same text the file would.
EM_JS(int, cv_storage_read, (char* out, int cap), {
    let text = null;
    try { text = window.localStorage.getItem("cindervale.settings"); } catch (e) { return -2; }
    if (text === null) return -1;
    const bytes = lengthBytesUTF8(text);
    if (bytes + 1 > cap) return cap;
    stringToUTF8(text, out, cap);
    return bytes;
});
EM_JS(int, cv_storage_write, (const char* text), {
    try { window.localStorage.setItem("cindervale.settings", UTF8ToString(text)); } catch (e) { return 0; }
    return 1;
});
#endif

namespace {

constexpr const char* SETTINGS_SUBPATH = "cindervale/settings.ini";
constexpr size_t MAX_FILE_BYTES = 4096;  // a settings file is a few dozen bytes
constexpr size_t MAX_LINE = 128;

// A long path is cut short in the message rather than overflowing it.
void say(char (&problem)[SETTINGS_PROBLEM_MAX], const char* what, const char* detail = nullptr) {
    const int n = detail != nullptr ? std::snprintf(problem, sizeof problem, "%s: %s", what, detail)
                                    : std::snprintf(problem, sizeof problem, "%s", what);
    if (n < 0) problem[0] = '\0';
}

bool is_text(const char* bytes, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n' || c == '\r' || c == '\t') continue;
        if (c < 0x20 || c >= 0x7f) return false;
    }
    return true;
}

// Whole-string number in [0, 1]; rejects "0.5x", "nan", "inf" and "".
bool parse_unit_float(const char* s, float& out) {
    if (*s == '\0') return false;
    char* end = nullptr;
    const double v = std::strtod(s, &end);
    if (*end != '\0' || !std::isfinite(v) || v < 0.0 || v > 1.0) return false;
    out = static_cast<float>(v);
    return true;
}

bool parse_flag(const char* s, bool& out) {
    if (std::strcmp(s, "0") == 0 || std::strcmp(s, "1") == 0) {
        out = s[0] == '1';
        return true;
    }
    return false;
}

template <size_t N>
bool parse_choice(const char* s, const std::array<int64_t, N>& choices, int64_t& out) {
    if (*s == '\0') return false;
    char* end = nullptr;
    const long long v = std::strtoll(s, &end, 10);
    if (*end != '\0') return false;
    for (int64_t c : choices) {
        if (c == v) {
            out = c;
            return true;
        }
    }
    return false;
}

// One "key=value" line into `s`; unknown keys are left for newer versions.
bool apply_line(char* line, Settings& s, char (&problem)[SETTINGS_PROBLEM_MAX]) {
    const size_t len = std::strlen(line);
    if (len > 0 && line[len - 1] == '\r') line[len - 1] = '\0';
    if (line[0] == '\0' || line[0] == '#') return true;
    char* eq = std::strchr(line, '=');
    if (eq == nullptr) {
        say(problem, "a line is not key=value", line);
        return false;
    }
    *eq = '\0';
    const char* key = line;
    const char* value = eq + 1;
    if (std::strcmp(key, "volume") == 0 && !parse_unit_float(value, s.volume)) {
        say(problem, "volume is not a number from 0 to 1", value);
        return false;
    }
    if (std::strcmp(key, "fullscreen") == 0 && !parse_flag(value, s.fullscreen)) {
        say(problem, "fullscreen is not 0 or 1", value);
        return false;
    }
    if (std::strcmp(key, "game_speed") == 0 && !parse_choice(value, GAME_SPEED_CHOICES, s.game_speed_pct)) {
        say(problem, "game_speed is not one of 100, 90, 80, 70, 60, 50", value);
        return false;
    }
    if (std::strcmp(key, "damage_taken") == 0 && !parse_choice(value, DAMAGE_TAKEN_CHOICES, s.damage_taken_pct)) {
        say(problem, "damage_taken is not one of 100, 50, 0", value);
        return false;
    }
    return true;
}

bool parse_settings(char* text, size_t n, Settings& out, char (&problem)[SETTINGS_PROBLEM_MAX]) {
    if (n == 0) {
        say(problem, "the file is empty");
        return false;
    }
    if (!is_text(text, n)) {
        say(problem, "the file is not text");
        return false;
    }
    if (text[n - 1] != '\n') {
        say(problem, "the file is truncated (its last line has no end)");
        return false;
    }
    Settings s = DEFAULT_SETTINGS;
    char* line = text;
    while (line < text + n) {
        char* nl = std::strchr(line, '\n');
        *nl = '\0';
        if (static_cast<size_t>(nl - line) > MAX_LINE) {
            say(problem, "a line is too long");
            return false;
        }
        if (!apply_line(line, s, problem)) return false;
        line = nl + 1;
    }
    out = s;
    return true;
}

// mkdir -p for the folders above `path`.
bool make_parent_folders(const char* path, char (&problem)[SETTINGS_PROBLEM_MAX]) {
    char dir[SETTINGS_PATH_MAX];
    std::snprintf(dir, sizeof dir, "%s", path);
    for (char* p = dir + 1; *p != '\0'; ++p) {
        if (*p != '/') continue;
        *p = '\0';
        if (mkdir(dir, 0755) != 0 && errno != EEXIST) {
            say(problem, dir, std::strerror(errno));
            return false;
        }
        *p = '/';
    }
    return true;
}

}  // namespace

bool settings_file_path(const char* xdg_config_home, const char* home, char (&out)[SETTINGS_PATH_MAX]) {
    out[0] = '\0';
    int n = -1;
    // A relative XDG_CONFIG_HOME is invalid and is ignored, as the convention says.
    if (xdg_config_home != nullptr && xdg_config_home[0] == '/') {
        n = std::snprintf(out, sizeof out, "%s/%s", xdg_config_home, SETTINGS_SUBPATH);
    } else if (home != nullptr && home[0] != '\0') {
        n = std::snprintf(out, sizeof out, "%s/.config/%s", home, SETTINGS_SUBPATH);
    }
    if (n < 0 || static_cast<size_t>(n) >= sizeof out) {
        out[0] = '\0';
        return false;
    }
    return true;
}

SettingsLoad read_settings_file(const char* path) {
    SettingsLoad r{DEFAULT_SETTINGS, SettingsStatus::Loaded, {}};
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr) {
        r.status = errno == ENOENT ? SettingsStatus::Missing : SettingsStatus::Unreadable;
        say(r.problem, r.status == SettingsStatus::Missing ? "no settings saved yet" : std::strerror(errno));
        return r;
    }
    char text[MAX_FILE_BYTES + 1];
    const size_t n = std::fread(text, 1, sizeof text, f);
    const bool read_error = std::ferror(f) != 0;
    std::fclose(f);
    if (read_error) {
        r.status = SettingsStatus::Unreadable;
        say(r.problem, "the file could not be read");
        return r;
    }
    if (n > MAX_FILE_BYTES) {
        r.status = SettingsStatus::Unreadable;
        say(r.problem, "the file is too large to be settings");
        return r;
    }
    return settings_from_text(text, n);
}

SettingsLoad settings_from_text(char* text, size_t n) {
    SettingsLoad r{DEFAULT_SETTINGS, SettingsStatus::Loaded, {}};
    text[n] = '\0';
    Settings s = DEFAULT_SETTINGS;
    if (!parse_settings(text, n, s, r.problem)) {
        r.status = SettingsStatus::Unreadable;
        return r;
    }
    r.settings = s;
    return r;
}

int settings_to_text(const Settings& s, char* out, size_t cap) {
    const int n = std::snprintf(out, cap, "# Cindervale settings\nvolume=%.9g\nfullscreen=%d\ngame_speed=%lld\ndamage_taken=%lld\n",
                                static_cast<double>(s.volume), s.fullscreen ? 1 : 0,
                                static_cast<long long>(s.game_speed_pct), static_cast<long long>(s.damage_taken_pct));
    return n < 0 || static_cast<size_t>(n) >= cap ? -1 : n;
}

bool write_settings_file(const char* path, const Settings& s, char (&problem)[SETTINGS_PROBLEM_MAX]) {
    problem[0] = '\0';
    if (path == nullptr || path[0] == '\0') {
        say(problem, "no settings folder is known");
        return false;
    }
    if (!make_parent_folders(path, problem)) return false;
    char temp[SETTINGS_PATH_MAX + 8];
    std::snprintf(temp, sizeof temp, "%s.tmp", path);
    std::FILE* f = std::fopen(temp, "wb");
    if (f == nullptr) {
        say(problem, temp, std::strerror(errno));
        return false;
    }
    char text[MAX_FILE_BYTES];
    const int length = settings_to_text(s, text, sizeof text);
    const int written = length < 0 ? -1 : static_cast<int>(std::fwrite(text, 1, static_cast<size_t>(length), f));
    const bool flushed = std::fflush(f) == 0;
    const bool closed = std::fclose(f) == 0;
    if (written != length || !flushed || !closed) {
        say(problem, temp, "could not be written");
        std::remove(temp);
        return false;
    }
    // The rename replaces the old file in one go: a crash leaves the old or the new, never half.
    if (std::rename(temp, path) != 0) {
        say(problem, path, std::strerror(errno));
        std::remove(temp);
        return false;
    }
    return true;
}

#ifdef __EMSCRIPTEN__

SettingsLoad fetch_settings(const char* /*path*/) {
    char text[MAX_FILE_BYTES + 1];
    const int n = cv_storage_read(text, static_cast<int>(sizeof text));
    if (n < 0) {
        SettingsLoad r{DEFAULT_SETTINGS, n == -1 ? SettingsStatus::Missing : SettingsStatus::Unreadable, {}};
        say(r.problem, n == -1 ? "no settings saved yet" : "the page's storage cannot be read");
        return r;
    }
    if (static_cast<size_t>(n) > MAX_FILE_BYTES) {
        SettingsLoad r{DEFAULT_SETTINGS, SettingsStatus::Unreadable, {}};
        say(r.problem, "the stored settings are too large");
        return r;
    }
    return settings_from_text(text, static_cast<size_t>(n));
}

bool store_settings(const char* /*path*/, const Settings& s, char (&problem)[SETTINGS_PROBLEM_MAX]) {
    char text[MAX_FILE_BYTES];
    if (settings_to_text(s, text, sizeof text) < 0 || cv_storage_write(text) == 0) {
        say(problem, "the page's storage cannot be written");
        return false;
    }
    return true;
}

#else

SettingsLoad fetch_settings(const char* path) { return read_settings_file(path); }

bool store_settings(const char* path, const Settings& s, char (&problem)[SETTINGS_PROBLEM_MAX]) {
    return write_settings_file(path, s, problem);
}

#endif
