// The settings file: where it lives, what a good one holds, and that every
// kind of broken file gives the defaults with a reason instead of a crash.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

#include "app/settings.h"

namespace {

class SettingsFile : public ::testing::Test {
protected:
    std::string dir;
    std::string path;
    void SetUp() override {
        char tmpl[] = "/tmp/cindervale-settings-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
        path = dir + "/cindervale/settings.ini";
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
    void write_raw(const std::string& bytes) {
        std::system(("mkdir -p '" + dir + "/cindervale'").c_str());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string read_raw() const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // A file that must be refused: the defaults, and a reason to print.
    void expect_refused(const std::string& bytes, const char* why) {
        write_raw(bytes);
        const SettingsLoad r = read_settings_file(path.c_str());
        EXPECT_EQ(r.status, SettingsStatus::Unreadable) << why;
        EXPECT_TRUE(same_settings(r.settings, DEFAULT_SETTINGS)) << why;
        EXPECT_NE(r.problem[0], '\0') << why;
    }
};

TEST(SettingsPath, FollowsXdgConfigHomeThenTheHomeFolder) {
    char out[SETTINGS_PATH_MAX];
    ASSERT_TRUE(settings_file_path("/x/conf", "/home/a", out));
    EXPECT_STREQ(out, "/x/conf/cindervale/settings.ini");
    ASSERT_TRUE(settings_file_path(nullptr, "/home/a", out));
    EXPECT_STREQ(out, "/home/a/.config/cindervale/settings.ini");
    ASSERT_TRUE(settings_file_path("relative/conf", "/home/a", out)) << "a relative XDG folder is ignored";
    EXPECT_STREQ(out, "/home/a/.config/cindervale/settings.ini");
    EXPECT_FALSE(settings_file_path("", "", out));
    EXPECT_STREQ(out, "");
    const std::string very_long(SETTINGS_PATH_MAX, 'a');
    EXPECT_FALSE(settings_file_path(("/" + very_long).c_str(), nullptr, out)) << "never a cut-off path";
}

TEST_F(SettingsFile, WhatIsWrittenIsReadBackExactlyThroughNewFolders) {
    const Settings chosen{3.0f / 440.0f, true, 60, 0};  // a slider value that prints long
    char problem[SETTINGS_PROBLEM_MAX];
    ASSERT_TRUE(write_settings_file(path.c_str(), chosen, problem)) << problem;
    const SettingsLoad r = read_settings_file(path.c_str());
    EXPECT_EQ(r.status, SettingsStatus::Loaded);
    EXPECT_TRUE(same_settings(r.settings, chosen));
    EXPECT_NE(access((path + ".tmp").c_str(), F_OK), 0) << "no temporary file is left behind";

    ASSERT_TRUE(write_settings_file(path.c_str(), Settings{0.25f, false, 90, 50}, problem));
    EXPECT_EQ(read_raw(), "# Cindervale settings\nvolume=0.25\nfullscreen=0\ngame_speed=90\ndamage_taken=50\n");
}

TEST_F(SettingsFile, AMissingFileGivesTheDefaults) {
    const SettingsLoad r = read_settings_file(path.c_str());
    EXPECT_EQ(r.status, SettingsStatus::Missing);
    EXPECT_TRUE(same_settings(r.settings, DEFAULT_SETTINGS));
}

TEST_F(SettingsFile, UnknownKeysCommentsAndCrLfAreAcceptedAndMissingKeysKeepTheirDefault) {
    write_raw("# by hand\r\nvolume=0.5\r\n\r\ncolour=blue\r\n");
    const SettingsLoad r = read_settings_file(path.c_str());
    EXPECT_EQ(r.status, SettingsStatus::Loaded);
    EXPECT_FLOAT_EQ(r.settings.volume, 0.5f);
    EXPECT_FALSE(r.settings.fullscreen);
    EXPECT_EQ(r.settings.game_speed_pct, 100);
    EXPECT_EQ(r.settings.damage_taken_pct, 100);
}

TEST_F(SettingsFile, BrokenFilesGiveTheDefaultsAndSayWhy) {
    expect_refused("", "empty");
    expect_refused("volume=0.5\nfullscr", "truncated mid-line");
    expect_refused(std::string("volume=0.5\n\0\x01\xff\n", 16), "binary");
    expect_refused("volume=1.5\n", "volume above 1");
    expect_refused("volume=-0.01\n", "volume below 0");
    expect_refused("volume=nan\n", "not a number");
    expect_refused("volume=inf\n", "infinite");
    expect_refused("volume=0.5x\n", "trailing junk");
    expect_refused("volume=\n", "no value");
    expect_refused("fullscreen=2\n", "a flag that is neither 0 nor 1");
    expect_refused("just words\n", "not key=value");
    expect_refused("game_speed=75\n", "a speed that is not offered");
    expect_refused("damage_taken=25\n", "a damage share that is not offered");
    expect_refused("game_speed=90.0\n", "a speed that is not a whole number");
    expect_refused(std::string(5000, '#') + "\n", "far too large");
}

TEST_F(SettingsFile, AnUnwritableFolderFailsWithAReasonAndLeavesNoFile) {
    // A regular file where the folder should be: even root cannot write there.
    std::ofstream(dir + "/cindervale") << "in the way";
    char problem[SETTINGS_PROBLEM_MAX];
    EXPECT_FALSE(write_settings_file(path.c_str(), Settings{0.5f, false, 100, 100}, problem));
    EXPECT_NE(problem[0], '\0');
    EXPECT_FALSE(write_settings_file("", Settings{0.5f, false, 100, 100}, problem)) << "no folder known";
}

TEST(AssistChoices, StepThroughTheOfferedValuesAndWrap) {
    EXPECT_EQ(next_choice(GAME_SPEED_CHOICES, 100, +1), 90);
    EXPECT_EQ(next_choice(GAME_SPEED_CHOICES, 50, +1), 100);
    EXPECT_EQ(next_choice(GAME_SPEED_CHOICES, 100, -1), 50);
    EXPECT_EQ(next_choice(DAMAGE_TAKEN_CHOICES, 0, +1), 100);
    EXPECT_EQ(next_choice(DAMAGE_TAKEN_CHOICES, 33, +1), 100) << "a value not offered falls back to the default";
}

}  // namespace
