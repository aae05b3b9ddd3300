#include "player_fixture.h"

#include <map>

// What the player draws: the sprite sheet by facing and pose, the blinking
// while invincible, and the debug overlay's numbers.

namespace {

// Names of the player's sheets drawn since the last clearCalls, in order.
std::vector<std::string> sheetsDrawn(const PlayerWorld& world) {
    std::vector<std::string> names;
    for (const RecordingVideoService::DrawCall& call : world.video.calls()) {
        for (const char* sheet : {"right.bmp", "left.bmp", "shootright.bmp", "shootleft.bmp"}) {
            if (call.source != nullptr && call.source == world.video.surfaceFor(sheet)) names.push_back(sheet);
        }
    }
    return names;
}

std::vector<std::string> drawOnce(PlayerWorld& world) {
    world.video.clearCalls();
    world.player().draw(world.camera);
    return sheetsDrawn(world);
}

using Sheets = std::vector<std::string>;

}  // namespace

TEST(PlayerDraw, SheetFollowsFacingAndShootingPose) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    EXPECT_EQ(drawOnce(world), Sheets{"right.bmp"});
    world.step(Keys().left().fresh());
    EXPECT_EQ(drawOnce(world), Sheets{"left.bmp"});
    world.step(Keys().shoot());
    EXPECT_EQ(drawOnce(world), Sheets{"shootleft.bmp"});
    world.step(Keys().right().fresh().shoot());
    EXPECT_EQ(drawOnce(world), Sheets{"shootright.bmp"});
}

TEST(PlayerDraw, SpriteIsDrawnAtThePositionThroughTheCamera) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.camera.move(-10, 20);  // view at (-10, 20)
    world.video.clearCalls();
    world.player().draw(world.camera);
    const SDL_Surface* sheet = world.video.surfaceFor("right.bmp");
    bool found = false;
    for (const RecordingVideoService::DrawCall& call : world.video.calls()) {
        if (call.source != sheet) continue;
        found = true;
        EXPECT_EQ(call.x, 128 + 10 - 8);  // sprite offset -8
        EXPECT_EQ(call.y, 196 - 20 - 12);  // sprite offset -12
    }
    EXPECT_TRUE(found);
}

TEST(PlayerDraw, BlinksOnTwoOfEveryFourUpdatesWhileInvincible) {
    PlayerWorld world(kFlatScreen, PlayerFile::standard());
    world.beamIn();
    world.player().hurt();
    std::string shown = drawOnce(world).empty() ? "N" : "Y";  // timer 20
    for (int i = 0; i < 21; ++i) {
        world.step();
        shown += drawOnce(world).empty() ? "N" : "Y";
    }
    // Timer 20, then 19 down to 0, then 0 again: drawn at 0 and 3 modulo 4.
    EXPECT_EQ(shown, "Y" "YNNYYNNYYNNYYNNYYNNY" "Y");
}

TEST(PlayerDraw, OverlayShowsRawPositionSpeedsAndLadderBits) {
    std::string rows;
    for (int row = 0; row < 15; ++row) rows += row >= 13 ? "################\n" : row >= 6 ? "........H.......\n" : "................\n";
    PlayerWorld world(rows, PlayerFile::standard());
    world.beamIn();
    world.video.clearCalls();
    world.player().draw(world.camera);

    // One text line per overlay row, one character per 8-pixel cell.
    std::map<int, std::string> overlay;
    for (const RecordingVideoService::DrawCall& call : world.video.calls()) {
        if (call.kind != RecordingVideoService::Kind::BlitRaw) continue;
        std::string& line = overlay[call.y];
        const size_t column = static_cast<size_t>(call.x / 8);
        if (line.size() <= column) line.resize(column + 1, ' ');
        line[column] = call.sourceRect.y == 80 ? '-' : static_cast<char>('0' + call.sourceRect.y / 8);
    }
    const std::map<int, std::string> expected{
        {8, "  128 000"},   // x 128.0
        {16, "  196 000"},  // y 196.0
        {24, "   00 000"},  // standing still
        {32, "  255 000"},  // the ground probe speed -1.0
        {48, "   14"},      // ladder at the feet, chest and head
    };
    EXPECT_EQ(overlay, expected);
}
