// The saved games of the load_game fuzz corpus are real ones: every seed resumes whole. With ZELTO_SAVE_SEEDS set
// to a folder, the seeds are first made there from the bundled pictures.
#include "desk/state.h"
#include "pieces/desk.h"
#include "shell/save_support.h"

using namespace save_test;

namespace {

class SaveSeeds : public SaveTest {
protected:
    // The four kinds of saved game: fresh, joined with turned and rotated groups, from a JPEG, complete.
    void make_seeds(const fs::path& out) {
        fs::create_directories(out);
        write_pattern_bmp(file("s.bmp"), 48, 48);
        auto fresh = cut_game(file("s.bmp"), 4);
        ASSERT_EQ(save_game(*fresh, (out / "bmp_fresh.zlt").string()), 1);

        write_pattern_bmp(file("j.bmp"), 64, 48);
        auto joined = cut_game(file("j.bmp"), 12);
        join_items(*joined, 0, 1);
        join_items(*joined, 2, 4);
        turn_item(*joined, 0);
        display.play_seconds = 3725;
        desk.view_x = 12;
        ASSERT_EQ(save_game(*joined, (out / "bmp_joined.zlt").string()), 1);
        while (joined->item_count > 1) join_items(*joined, 0, 1);
        ASSERT_EQ(save_game(*joined, (out / "bmp_complete.zlt").string()), 1);

        fs::copy_file(source_root() + "/data/data/mountains.jpg", file("m.jpg"));
        settings.stretch_size = 120;
        auto jpeg = cut_game(file("m.jpg"), 6);
        join_items(*jpeg, 1, 0);
        ASSERT_EQ(save_game(*jpeg, (out / "jpeg_joined.zlt").string()), 1);
    }
};

TEST_F(SaveSeeds, EverySeedOfTheFuzzCorpusResumes) {
    const fs::path corpus = fs::path(source_root()) / "fuzz" / "corpus" / "load_game";
    if (const char* where = std::getenv("ZELTO_SAVE_SEEDS")) {
        make_seeds(where);
        if (HasFatalFailure()) return;
    }
    int seeds = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        if (entry.path().extension() != ".zlt") continue;
        SCOPED_TRACE(entry.path().filename().string());
        ++seeds;
        int32_t count = 0;
        ASSERT_EQ(peek_item_count(entry.path().string(), count), 1);
        auto game = resume(entry.path().string());
        ASSERT_TRUE(game);
        EXPECT_EQ(game->item_count, count);
        EXPECT_EQ(game->cut_count, count);
        for (int32_t i = 0; i < count; ++i) EXPECT_NE(game->items[i].piece->image, nullptr);
    }
    EXPECT_GE(seeds, 4);
}

}  // namespace
