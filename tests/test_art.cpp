// The built pictures and sounds: what the game's drawing and sound code take for granted about them.
#include <gtest/gtest.h>
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {
struct Rect { int x, y, w, h; bool has(int a, int b) const { return a >= x && a < x + w && b >= y && b < y + h; } };
using Rects = std::vector<Rect>;
bool in(const Rects &v, int x, int y) { return std::any_of(v.begin(), v.end(), [&](Rect r) { return r.has(x, y); }); }
template <class F> int count(const Rect &r, F f)  // the pixels of r where f(x, y) holds
{
    int n = 0;
    for (int i = 0; i < r.w * r.h; i++)
        n += f(r.x + i % r.w, r.y + i / r.w);
    return n;
}
struct Picture : std::unique_ptr<SDL_Surface, void (*)(SDL_Surface *)> {  // a pixel reads as 0xRRGGBB
    explicit Picture(const std::string &file)
        : unique_ptr(IMG_Load((GAME_DIR "/gfx/" + file).c_str()), SDL_FreeSurface) {}
    Uint32 operator()(int x, int y) const
    {
        Uint8 r, g, b, *p = (Uint8 *)get()->pixels + y * get()->pitch + x * get()->format->BytesPerPixel;
        return SDL_GetRGB(p[0] | p[1] << 8 | p[2] << 16, get()->format, &r, &g, &b), r << 16 | g << 8 | b;
    }
};
int ch(Uint32 c, int i) { return c >> (16 - 8 * i) & 255; }

TEST(Pictures, HighlightedPicturesChangeOnlyTheAreasTheGameCopies)
{
    // A menu's entries, and the game screen's pieces it holds: used lifelines and ladder marker.
    const Rects menu = {{161, 121, 320, 50}, {161, 184, 320, 50}, {161, 249, 320, 50}, {161, 307, 320, 50},
                        {161, 367, 320, 50}, {440, 5, 70, 60}, {507, 5, 70, 60}, {570, 5, 70, 60}, {224, 30, 20, 20}};
    const Rects icons = {{453, 5, 54, 51}, {514, 5, 54, 51}, {578, 5, 54, 51}};  // the used lifelines' icons
    const std::vector<int> rungs = {198, 182, 167, 152, 137, 122, 107, 92, 77, 52, 37, 22};
    const struct { std::string normal, lit; Rects changed; std::vector<int> rungs; } rows[] = {
        {"slanguage", "sslanguage", {{220, 130, 220, 160}, {80, 290, 220, 160}, {360, 290, 220, 160}}, {}},
        {"option", "soption", {{0, 180, 240, 35}, {400, 180, 240, 35}, {0, 335, 240, 35}, {400, 335, 240, 35}}, {}},
        {"menu", "smenu", menu, rungs}, {"eng/menu", "eng/smenu", menu, rungs}, {"swe/menu", "swe/smenu", menu, rungs}};
    Picture game("game.png");
    for (const auto &row : rows) {
        Picture a(row.normal + ".png"), b(row.lit + ".png");
        ASSERT_TRUE(game && a && b) << row.lit;
        auto differs = [&](int x, int y) { return a(x, y) != b(x, y); };
        for (const Rect &r : row.changed)
            EXPECT_GT(count(r, differs), r.w * r.h / 10) << row.lit << ": hardly changes at " << r.x << "," << r.y;
        EXPECT_EQ(count({0, 0, 640, 480}, [&](int x, int y) { return differs(x, y) && !in(row.changed, x, y); }), 0)
            << row.lit;
        // Marking a lifeline copies its whole area, neighbours' edges and all: only its used icon may differ.
        auto used = [&](int x, int y) { return b(x, y) != game(x, y) && !in(icons, x, y); };
        EXPECT_EQ(row.rungs.empty() ? 0 : count({440, 5, 200, 60}, used), 0) << row.lit << ": changed beside an icon";
        for (int rung : row.rungs)
            EXPECT_EQ(count({0, 0, 20, 20}, [&](int i, int j) {
                Uint32 m = b(224 + i, 30 + j), l = game(408 + i, rung + j);
                return (i % 19 == 0 || j % 19 == 0) &&  // the marker's rim matches the ladder under it
                       (abs(ch(m, 0) - ch(l, 0)) > 4 || abs(ch(m, 1) - ch(l, 1)) > 4 || abs(ch(m, 2) - ch(l, 2)) > 4);
            }), 0) << row.lit << " at rung " << rung;
    }
}

// Each sound played as the game plays it, then decoded by the same mixer at the game's 44100 Hz, 16 bits, stereo.
TEST(Sounds, EachPlaysAudiblyForItsTimeAndEndsOrLoopsWithoutAClick)
{
    int rate = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_TRUE(!setenv("SDL_AUDIODRIVER", "dummy", 1) && SDL_Init(SDL_INIT_AUDIO) == 0 &&
                Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 4096) == 0 && Mix_QuerySpec(&rate, &format, &channels) &&
                rate == 44100 && format == AUDIO_S16SYS && channels == 2);
    // Clicks and keystrokes follow one another 200 ms apart; tunes loop.
    const std::pair<std::string, double> rows[] = {{"button.wav", 0.2}, {"name_input.wav", 0.2},
        {"button_press.wav", 0.2}, {"bad_answer.wav", 3}, {"half.wav", 3}, {"peoples.wav", 3},
        {"start_button.wav", 3}, {"winner.wav", 3}, {"aplause.wav", 4}, {"telephone.wav", 4}, {"msx_menu.ogg", 60},
        {"msx_game.ogg", 60}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.first);
        bool tune = row.first.back() == 'g';
        Mix_Music *music = Mix_LoadMUS((GAME_DIR "/sfx/" + row.first).c_str());
        EXPECT_TRUE(music && Mix_PlayMusic(music, tune ? -1 : 1) == 0 && Mix_PlayingMusic()) << "does not play";
        Mix_FreeMusic(music);
        Mix_Chunk *chunk = Mix_LoadWAV((GAME_DIR "/sfx/" + row.first).c_str());
        ASSERT_TRUE(chunk);
        std::vector<int> s((Sint16 *)chunk->abuf, (Sint16 *)(chunk->abuf + chunk->alen));  // left, right, left...
        Mix_FreeChunk(chunk);
        ASSERT_TRUE(s.size() >= (tune ? 20 : 0.03) * 88200 && s.size() <= row.second * 88200) << s.size() / 88200.0;
        double power = 0, steps = 0;  // of the samples, and of the steps from one to the next
        int top = 0, tail = 0;        // the loudest sample, and the loudest of the last millisecond
        for (size_t i = 2; i < s.size(); i++) {
            power += double(s[i]) * s[i], steps += double(s[i] - s[i - 2]) * (s[i] - s[i - 2]);
            top = std::max(top, abs(s[i])), tail = i + 88 < s.size() ? 0 : std::max(tail, abs(s[i]));
        }
        EXPECT_GT(std::sqrt(power / s.size()), tune ? 1000 : 500) << "too quiet";
        EXPECT_TRUE(tune || tail < top / 200) << "does not end in silence, it clicks";
        for (int c = 0; tune && c < 2; c++)  // from the last sample to the first: an ordinary step
            EXPECT_LE(abs(s[c] - s[s.size() - 2 + c]), 3 * std::sqrt(steps / s.size())) << "a jump at the seam";
    }
    Mix_CloseAudio(), SDL_Quit();
}
}  // namespace
