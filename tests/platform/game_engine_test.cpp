#include "platform/game_engine.h"

#include "support/recording_audio_service.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
GameEngine::Settings headless(int scale = 1) {
    GameEngine::Settings settings;
    settings.headless = true;
    settings.scale = scale;
    return settings;
}

void pushKey(SDLKey key, bool down, Uint8 keyboard = 0) {
    SDL_Event event;
    SDL_memset(&event, 0, sizeof event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.which = keyboard;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void press(SDLKey key) { pushKey(key, true); }
void release(SDLKey key) { pushKey(key, false); }

void pushQuit() {
    SDL_Event event;
    SDL_memset(&event, 0, sizeof event);
    event.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

Uint32 pixelAt(SDL_Surface* surface, int x, int y) {
    return *reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch + x * 4);
}

std::string rgbAt(SDL_Surface* surface, int x, int y) {
    Uint8 r, g, b;
    SDL_GetRGB(pixelAt(surface, x, y), surface->format, &r, &g, &b);
    return std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
}

void fill(SDL_Surface* surface, int x, int y, int w, int h, Uint8 r, Uint8 g, Uint8 b) {
    SDL_Rect rect{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w), static_cast<Uint16>(h)};
    SDL_FillRect(surface, &rect, SDL_MapRGB(surface->format, r, g, b));
}

class GameEngineTest : public ::testing::Test {
protected:
    GameEngine engine{headless()};
};

using GameEngineInput = GameEngineTest;
using GameEnginePause = GameEngineTest;
using GameEngineDrawing = GameEngineTest;
}  // namespace

// --- Start-up -------------------------------------------------------------

TEST_F(GameEngineTest, StartsWithAnEmptyInputRecordUnpausedAndNotQuitting) {
    const InputState input = engine.getInput();
    EXPECT_EQ(input.horizontal, Direction::None);
    EXPECT_EQ(input.vertical, Direction::None);
    EXPECT_FALSE(input.jumpHeld || input.shootHeld || input.upHeld || input.leftHeld);
    EXPECT_FALSE(engine.isPaused());
    EXPECT_FALSE(engine.isQuitRequested());
}

TEST_F(GameEngineTest, HeadlessScreenIs256By240At32Bits) {
    ASSERT_NE(engine.screen(), nullptr);
    EXPECT_EQ(engine.screen()->w, 256);
    EXPECT_EQ(engine.screen()->h, 240);
    EXPECT_EQ(engine.screen()->format->BitsPerPixel, 32);
}

TEST_F(GameEngineTest, MouseEventsAreSwitchedOff) {
    EXPECT_EQ(SDL_EventState(SDL_MOUSEMOTION, SDL_QUERY), SDL_IGNORE);
    EXPECT_EQ(SDL_EventState(SDL_MOUSEBUTTONDOWN, SDL_QUERY), SDL_IGNORE);
    EXPECT_EQ(SDL_EventState(SDL_MOUSEBUTTONUP, SDL_QUERY), SDL_IGNORE);
}

TEST_F(GameEngineTest, WindowCaptionIsSet) {
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Voltaro Copy System");
}

// --- Keys and directions --------------------------------------------------

TEST_F(GameEngineInput, ReleasingTheLaterKeyFallsBackToTheEarlierOne) {
    press(SDLK_UP);
    press(SDLK_DOWN);
    release(SDLK_DOWN);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().vertical, Direction::Up);
    EXPECT_TRUE(engine.getInput().upHeld);
    EXPECT_FALSE(engine.getInput().downHeld);
}

TEST_F(GameEngineInput, ReleasingTheEarlierKeyKeepsTheLaterOne) {
    press(SDLK_UP);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().vertical, Direction::Up);
    press(SDLK_DOWN);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().vertical, Direction::Down);
    release(SDLK_UP);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().vertical, Direction::Down);
    EXPECT_FALSE(engine.getInput().upHeld);
}

TEST_F(GameEngineInput, HorizontalAxisFallsBackTheSameWay) {
    press(SDLK_RIGHT);
    press(SDLK_LEFT);
    release(SDLK_LEFT);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().horizontal, Direction::Right);
    release(SDLK_RIGHT);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().horizontal, Direction::None);
    EXPECT_FALSE(engine.getInput().rightHeld);
}

TEST_F(GameEngineInput, KeyUpWithoutKeyDownLeavesTheAxisAtNone) {
    release(SDLK_LEFT);
    release(SDLK_UP);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().horizontal, Direction::None);
    EXPECT_EQ(engine.getInput().vertical, Direction::None);
}

TEST_F(GameEngineInput, KeyUpWithoutKeyDownFallsBackToAHeldOppositeKey) {
    press(SDLK_RIGHT);
    release(SDLK_LEFT);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().horizontal, Direction::Right);
}

TEST_F(GameEngineInput, PreviousDirectionsAreTheValuesWhenThePollBegan) {
    press(SDLK_LEFT);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().previousHorizontal, Direction::None);
    EXPECT_EQ(engine.getInput().horizontal, Direction::Left);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().previousHorizontal, Direction::Left);
}

TEST_F(GameEngineInput, PressedIsAOneFrameEdgeAndHeldALevel) {
    press(SDLK_SPACE);
    press(SDLK_b);
    engine.pollInput();
    EXPECT_TRUE(engine.getInput().jumpPressed);
    EXPECT_TRUE(engine.getInput().shootPressed);
    engine.pollInput();
    EXPECT_FALSE(engine.getInput().jumpPressed);
    EXPECT_FALSE(engine.getInput().shootPressed);
    EXPECT_TRUE(engine.getInput().jumpHeld);
    EXPECT_TRUE(engine.getInput().shootHeld);
}

TEST_F(GameEngineInput, ReleasedIsAOneFrameEdge) {
    press(SDLK_b);
    engine.pollInput();
    release(SDLK_b);
    engine.pollInput();
    EXPECT_TRUE(engine.getInput().shootReleased);
    EXPECT_FALSE(engine.getInput().shootHeld);
    engine.pollInput();
    EXPECT_FALSE(engine.getInput().shootReleased);
}

TEST_F(GameEngineInput, SpacePressedAndReleasedInOneFrameShowsOnlyTheRelease) {
    press(SDLK_SPACE);
    release(SDLK_SPACE);
    engine.pollInput();
    const InputState input = engine.getInput();
    EXPECT_FALSE(input.jumpPressed);
    EXPECT_FALSE(input.jumpHeld);
    EXPECT_TRUE(input.jumpReleased);
}

TEST_F(GameEngineInput, OtherKeysChangeNothing) {
    press(SDLK_a);
    press(SDLK_ESCAPE);
    engine.pollInput();
    const InputState input = engine.getInput();
    EXPECT_FALSE(input.jumpHeld || input.shootHeld || input.upHeld || input.downHeld || input.leftHeld ||
                 input.rightHeld);
    EXPECT_FALSE(engine.isPaused());
}

TEST_F(GameEngineInput, QuitEventSetsQuitForGood) {
    pushQuit();
    engine.pollInput();
    EXPECT_TRUE(engine.isQuitRequested());
    engine.pollInput();
    EXPECT_TRUE(engine.isQuitRequested());
}

TEST_F(GameEngineInput, LiveKeysAreIgnoredDuringAReplayButScriptedKeysAndQuitCount) {
    engine.setLiveKeyboardIgnored(true);
    pushKey(SDLK_LEFT, true);
    pushKey(SDLK_SPACE, true, GameEngine::kScriptedKeyboard);
    pushKey(SDLK_RETURN, true);
    pushQuit();
    engine.pollInput();
    EXPECT_EQ(engine.getInput().horizontal, Direction::None);
    EXPECT_TRUE(engine.getInput().jumpHeld);
    EXPECT_FALSE(engine.isPaused());
    EXPECT_TRUE(engine.isQuitRequested());
}

TEST_F(GameEngineInput, AnAddedStandardKeyRunsOutsideTheGamesInputDuringAReplayToo) {
    int reloads = 0;
    int observed = 0;
    engine.standardKeys().add(SDLK_F5, KMOD_NONE, "reload", [&reloads] { ++reloads; });
    engine.setEventObserver([&observed](const SDL_Event&) { ++observed; });
    engine.setLiveKeyboardIgnored(true);
    press(SDLK_F5);
    release(SDLK_F5);
    press(SDLK_F5);
    engine.pollInput();
    EXPECT_EQ(reloads, 2) << "once per press";
    EXPECT_EQ(observed, 0) << "never recorded";
    const InputState input = engine.getInput();
    EXPECT_FALSE(input.jumpHeld || input.shootHeld || input.upHeld || input.leftHeld);
    EXPECT_EQ(input.horizontal, Direction::None);
}

TEST_F(GameEngineInput, ObserverSeesTheGameKeysAndQuitInArrivalOrder) {
    std::vector<std::string> seen;
    engine.setEventObserver([&seen](const SDL_Event& event) {
        if (event.type == SDL_QUIT) {
            seen.push_back("quit");
        } else {
            seen.push_back(std::to_string(event.key.keysym.sym) + (event.type == SDL_KEYDOWN ? "+" : "-"));
        }
    });
    press(SDLK_b);
    press(SDLK_a);  // not a game key
    pushQuit();
    release(SDLK_b);
    engine.pollInput();
    EXPECT_EQ(seen, (std::vector<std::string>{"98+", "quit", "98-"}));
}

// --- Pause and single step ------------------------------------------------

TEST_F(GameEnginePause, EnterTogglesPause) {
    press(SDLK_RETURN);
    engine.pollInput();
    EXPECT_TRUE(engine.isPaused());
    press(SDLK_RETURN);
    engine.pollInput();
    EXPECT_FALSE(engine.isPaused());
}

TEST_F(GameEnginePause, EnterAndTabKeyUpsChangeNothing) {
    press(SDLK_RETURN);
    engine.pollInput();
    release(SDLK_RETURN);
    release(SDLK_TAB);
    engine.pollInput();
    EXPECT_TRUE(engine.isPaused());
}

TEST_F(GameEnginePause, TabWhileRunningDoesNothing) {
    press(SDLK_TAB);
    engine.pollInput();
    EXPECT_FALSE(engine.isPaused());
    engine.pollInput();
    EXPECT_FALSE(engine.isPaused());
}

TEST_F(GameEnginePause, TabWhilePausedGivesExactlyOneUnpausedFrame) {
    press(SDLK_RETURN);
    engine.pollInput();
    press(SDLK_TAB);
    engine.pollInput();
    EXPECT_FALSE(engine.isPaused());  // this frame is updated
    engine.pollInput();
    EXPECT_TRUE(engine.isPaused());  // and the next is not
    engine.pollInput();
    EXPECT_TRUE(engine.isPaused());
}

TEST_F(GameEnginePause, EnterAfterTabInTheSamePollKeepsTheFramePausedAndStaysPaused) {
    press(SDLK_RETURN);
    engine.pollInput();
    press(SDLK_TAB);
    press(SDLK_RETURN);
    engine.pollInput();
    EXPECT_TRUE(engine.isPaused());
    engine.pollInput();
    EXPECT_TRUE(engine.isPaused());
}

TEST_F(GameEnginePause, EnterBeforeTabInTheSamePollUnpausesForGood) {
    press(SDLK_RETURN);
    engine.pollInput();
    press(SDLK_RETURN);
    press(SDLK_TAB);  // not paused any more: does nothing
    engine.pollInput();
    EXPECT_FALSE(engine.isPaused());
    engine.pollInput();
    EXPECT_FALSE(engine.isPaused());
}

TEST_F(GameEnginePause, EnterInTheFrameAfterAStepUnpausesIt) {
    press(SDLK_RETURN);
    engine.pollInput();
    press(SDLK_TAB);
    engine.pollInput();
    press(SDLK_RETURN);
    engine.pollInput();
    EXPECT_FALSE(engine.isPaused());
    engine.pollInput();
    EXPECT_FALSE(engine.isPaused());
}

TEST_F(GameEnginePause, EdgesFromAPauseShowInTheFirstUpdatedFrameAndClearAfterIt) {
    press(SDLK_RETURN);
    engine.pollInput();
    press(SDLK_SPACE);
    engine.pollInput();
    engine.pollInput();  // still paused: nothing is cleared
    EXPECT_TRUE(engine.getInput().jumpPressed);
    press(SDLK_RETURN);
    engine.pollInput();
    EXPECT_FALSE(engine.isPaused());
    EXPECT_TRUE(engine.getInput().jumpPressed);
    engine.pollInput();
    EXPECT_FALSE(engine.getInput().jumpPressed);
    EXPECT_TRUE(engine.getInput().jumpHeld);
}

TEST_F(GameEnginePause, EdgesFromAPauseShowInASteppedFrame) {
    press(SDLK_RETURN);
    engine.pollInput();
    press(SDLK_b);
    engine.pollInput();
    press(SDLK_TAB);
    engine.pollInput();
    EXPECT_FALSE(engine.isPaused());
    EXPECT_TRUE(engine.getInput().shootPressed);
    engine.pollInput();  // paused again, after clearing the stepped frame's edges
    EXPECT_TRUE(engine.isPaused());
    EXPECT_FALSE(engine.getInput().shootPressed);
}

TEST_F(GameEnginePause, DirectionsAreNotCopiedWhilePaused) {
    press(SDLK_RETURN);
    engine.pollInput();
    press(SDLK_RIGHT);
    engine.pollInput();
    engine.pollInput();
    EXPECT_EQ(engine.getInput().previousHorizontal, Direction::None);
    press(SDLK_RETURN);
    engine.pollInput();
    // The first updated frame still sees the press as new.
    EXPECT_EQ(engine.getInput().previousHorizontal, Direction::None);
    EXPECT_EQ(engine.getInput().horizontal, Direction::Right);
}

TEST_F(GameEnginePause, QuitWorksWhilePaused) {
    press(SDLK_RETURN);
    engine.pollInput();
    pushQuit();
    engine.pollInput();
    EXPECT_TRUE(engine.isQuitRequested());
    EXPECT_TRUE(engine.isPaused());
}

// --- Drawing --------------------------------------------------------------

TEST_F(GameEngineDrawing, ColourKeyIsTransparentAndMagentaIsNot) {
    TempDir dir;
    SDL_Surface* picture = SDL_CreateRGBSurface(0, 3, 1, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    fill(picture, 0, 0, 1, 1, 255, 128, 255);
    fill(picture, 1, 0, 1, 1, 255, 0, 255);
    fill(picture, 2, 0, 1, 1, 10, 20, 30);
    ASSERT_EQ(SDL_SaveBMP(picture, dir.file("keyed.bmp").c_str()), 0);
    SDL_FreeSurface(picture);

    const SurfaceHandle loaded = engine.loadBitmap(dir.file("keyed.bmp").c_str());
    ASSERT_NE(loaded, nullptr);
    EXPECT_TRUE(loaded->flags & SDL_SRCCOLORKEY);
    engine.clearScreen();
    engine.blit(loaded.get(), 0, 0, nullptr);
    EXPECT_EQ(rgbAt(engine.screen(), 0, 0), "0,0,0");
    EXPECT_EQ(rgbAt(engine.screen(), 1, 0), "255,0,255");
    EXPECT_EQ(rgbAt(engine.screen(), 2, 0), "10,20,30");
}

TEST_F(GameEngineDrawing, CreatedSurfaceBlittedUntouchedShowsNothing) {
    fill(engine.screen(), 0, 0, 256, 240, 1, 2, 3);
    const SurfaceHandle surface = engine.createSurface(32, 16);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->format->BitsPerPixel, engine.screen()->format->BitsPerPixel);
    engine.blit(surface.get(), 10, 10, nullptr);
    EXPECT_EQ(rgbAt(engine.screen(), 10, 10), "1,2,3");
    EXPECT_EQ(rgbAt(engine.screen(), 41, 25), "1,2,3");
}

TEST_F(GameEngineDrawing, CreatedSurfaceShowsWhatIsDrawnIntoIt) {
    const SurfaceHandle surface = engine.createSurface(4, 4);
    ASSERT_NE(surface, nullptr);
    fill(surface.get(), 1, 1, 1, 1, 200, 100, 50);
    engine.clearScreen();
    engine.blit(surface.get(), 20, 30, nullptr);
    EXPECT_EQ(rgbAt(engine.screen(), 21, 31), "200,100,50");
    EXPECT_EQ(rgbAt(engine.screen(), 20, 30), "0,0,0");
}

TEST_F(GameEngineDrawing, SourceRectangleSelectsTheRegion) {
    const SurfaceHandle surface = engine.createSurface(8, 1);
    fill(surface.get(), 4, 0, 1, 1, 9, 9, 9);
    SDL_Rect region{4, 0, 4, 1};
    engine.clearScreen();
    engine.blitRaw(surface.get(), 0, 0, &region);
    EXPECT_EQ(rgbAt(engine.screen(), 0, 0), "9,9,9");
}

TEST_F(GameEngineDrawing, PositionsAreCutTo16Bits) {
    const SurfaceHandle surface = engine.createSurface(1, 1);
    fill(surface.get(), 0, 0, 1, 1, 7, 7, 7);
    engine.clearScreen();
    engine.blit(surface.get(), 65536 + 5, 65536 + 6, nullptr);
    EXPECT_EQ(rgbAt(engine.screen(), 5, 6), "7,7,7");
}

TEST_F(GameEngineDrawing, BlitToDrawsIntoTheTargetOnly) {
    const SurfaceHandle source = engine.createSurface(1, 1);
    const SurfaceHandle target = engine.createSurface(4, 4);
    fill(source.get(), 0, 0, 1, 1, 50, 60, 70);
    engine.clearScreen();
    engine.blitTo(source.get(), target.get(), 2, 3, nullptr);
    EXPECT_EQ(rgbAt(target.get(), 2, 3), "50,60,70");
    EXPECT_EQ(rgbAt(engine.screen(), 2, 3), "0,0,0");
}

TEST_F(GameEngineDrawing, ClearScreenTurnsTheScreenBlack) {
    fill(engine.screen(), 0, 0, 256, 240, 255, 255, 255);
    engine.clearScreen();
    EXPECT_EQ(rgbAt(engine.screen(), 0, 0), "0,0,0");
    EXPECT_EQ(rgbAt(engine.screen(), 255, 239), "0,0,0");
}

TEST_F(GameEngineDrawing, MissingOrNonBitmapFileLoadsAsNullWithAMessage) {
    TempDir dir;
    dir.write("text.bmp", "not a bitmap");
    testing::internal::CaptureStderr();
    EXPECT_EQ(engine.loadBitmap(dir.file("missing.bmp").c_str()), nullptr);
    EXPECT_EQ(engine.loadBitmap(dir.file("text.bmp").c_str()), nullptr);
    EXPECT_EQ(engine.loadBitmap(nullptr), nullptr);
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("missing.bmp"), std::string::npos);
    EXPECT_NE(messages.find("text.bmp"), std::string::npos);
}

TEST_F(GameEngineDrawing, NullSurfacesAreSafeEverywhere) {
    const SurfaceHandle surface = engine.createSurface(2, 2);
    EXPECT_EQ(engine.blit(nullptr, 0, 0, nullptr), -1);
    EXPECT_EQ(engine.blitRaw(nullptr, 0, 0, nullptr), -1);
    EXPECT_EQ(engine.blitTo(nullptr, surface.get(), 0, 0, nullptr), -1);
    EXPECT_EQ(engine.blitTo(surface.get(), nullptr, 0, 0, nullptr), -1);
}

TEST_F(GameEngineDrawing, SurfaceOfNoSizeIsRefused) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(engine.createSurface(0, 10), nullptr);
    EXPECT_EQ(engine.createSurface(10, -1), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr(), "");
}

TEST_F(GameEngineDrawing, SaveScreenWritesThe256By240Picture) {
    TempDir dir;
    fill(engine.screen(), 3, 4, 1, 1, 90, 80, 70);
    std::string error;
    ASSERT_TRUE(engine.saveScreen(dir.file("shot.bmp"), error)) << error;
    SDL_Surface* saved = SDL_LoadBMP(dir.file("shot.bmp").c_str());
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->w, 256);
    EXPECT_EQ(saved->h, 240);
    SDL_FreeSurface(saved);
    EXPECT_FALSE(engine.saveScreen(dir.file("no/such/dir/shot.bmp"), error));
    EXPECT_FALSE(error.empty());
}

TEST(GameEngineScaled, FlipEnlargesEachScreenPixelIntoABlock) {
    GameEngine engine(headless(3));
    ASSERT_EQ(engine.screen()->w, 256);
    SDL_Surface* window = SDL_GetVideoSurface();
    ASSERT_EQ(window->w, 768);
    ASSERT_EQ(window->h, 720);
    engine.clearScreen();
    fill(engine.screen(), 1, 2, 1, 1, 255, 0, 0);
    ASSERT_EQ(engine.flip(), 0);
    for (int y = 6; y < 9; ++y) {
        for (int x = 3; x < 6; ++x) EXPECT_EQ(rgbAt(window, x, y), "255,0,0") << x << "," << y;
    }
    EXPECT_EQ(rgbAt(window, 2, 6), "0,0,0");
    EXPECT_EQ(rgbAt(window, 6, 6), "0,0,0");
    EXPECT_EQ(rgbAt(window, 3, 9), "0,0,0");
    EXPECT_EQ(rgbAt(window, 767, 719), "0,0,0");
}

TEST(GameEngineScaled, UnscaledFlipShowsTheScreenItself) {
    GameEngine engine(headless(1));
    EXPECT_EQ(SDL_GetVideoSurface(), engine.screen());
    EXPECT_EQ(engine.flip(), 0);
}

// --- Sound ---------------------------------------------------------------------

TEST_F(GameEnginePause, EnteringThePauseSoundsAndLeavingItOrSteppingBackIntoItDoesNot) {
    RecordingAudioService audio;
    press(SDLK_RETURN);
    engine.pollInput();
    EXPECT_EQ(audio.playedNames(), "pause");
    audio.clearPlayed();
    press(SDLK_TAB);
    engine.pollInput();  // one stepped frame
    engine.pollInput();  // paused again by the step's end
    ASSERT_TRUE(engine.isPaused());
    press(SDLK_RETURN);
    engine.pollInput();
    ASSERT_FALSE(engine.isPaused());
    EXPECT_EQ(audio.playedNames(), "");
}

TEST_F(GameEngineInput, MTogglesAllSoundOutsideTheGameInputAndIsNeverObserved) {
    RecordingAudioService audio;
    std::vector<SDLKey> observed;
    engine.setEventObserver([&observed](const SDL_Event& event) { observed.push_back(event.key.keysym.sym); });
    engine.setLiveKeyboardIgnored(true);  // a replay is playing: M still works
    press(GameEngine::kSoundKey);
    release(GameEngine::kSoundKey);
    engine.pollInput();
    EXPECT_TRUE(audio.isMuted());
    press(GameEngine::kSoundKey);
    engine.pollInput();
    EXPECT_FALSE(audio.isMuted());
    EXPECT_TRUE(observed.empty()) << "never written to an input log";
    const InputState input = engine.getInput();
    const bool anyFlag = input.upHeld || input.downHeld || input.leftHeld || input.rightHeld || input.shootPressed ||
                         input.shootHeld || input.shootReleased || input.jumpPressed || input.jumpHeld ||
                         input.jumpReleased;
    EXPECT_FALSE(anyFlag) << "the game's input is untouched";
    EXPECT_EQ(input.horizontal, Direction::None);
    EXPECT_EQ(input.vertical, Direction::None);
    EXPECT_FALSE(engine.isPaused());
}
