// Test fixture for the shell's file readers: a private temporary folder made current, and the globals restored.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "play/state.h"
#include "shell/settings.h"
#include "shell/sound.h"
#include "shell/state.h"
#include "ws/ws.h"

// Writes raw bytes (code page 932 where it matters) to a file of the temporary folder, making its folders.
inline void write_file(const std::string& name, const std::string& bytes) {
    const std::filesystem::path p(name);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}
inline std::string read_file(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
// Reads `text` as the settings file ZELTORC.TXT.
inline void read_settings_text(const std::string& text) {
    write_file("ZELTORC.TXT", text);
    read_settings("ZELTORC.TXT");
}

class ShellFiles : public ::testing::Test {
protected:
    void SetUp() override {
        old_dir_ = std::filesystem::current_path();
        char pattern[] = "/tmp/zelto-shell-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        std::filesystem::current_path(dir_);
        saved_settings_ = settings;
        saved_sounds_ = play.sound_list;
        saved_looping_ = play.sound_looping;
        saved_skin_reader_ = shell.read_skin_file;
        settings = Settings{};
        play.sound_list = {};
        play.sound_looping = 0;
        ws::test::reset();
    }
    void TearDown() override {
        std::filesystem::current_path(old_dir_);
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
        settings = saved_settings_;
        play.sound_list = saved_sounds_;
        play.sound_looping = saved_looping_;
        shell.read_skin_file = saved_skin_reader_;
        ws::test::reset();
    }

    std::filesystem::path old_dir_, dir_;
    Settings saved_settings_;
    std::array<SoundEntry, kSoundEvents> saved_sounds_;
    int32_t saved_looping_ = 0;
    void (*saved_skin_reader_)(std::FILE*) = nullptr;
};

// "タイル１" in code page 932.
inline const std::string kTileCp932 = "\x83\x5E\x83\x43\x83\x8B\x82\x50";
