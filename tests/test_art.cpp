// The built pictures and sounds: what the game's drawing and sound code take for granted about them.
#include <gtest/gtest.h>
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>
#include <SDL/SDL_ttf.h>
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
int luma(Uint32 c) { return (299 * ch(c, 0) + 587 * ch(c, 1) + 114 * ch(c, 2)) / 1000; }
// The game screen's pieces in the highlighted menus: used lifelines (copied areas, icons) and ladder marker.
const Rects kUsedAreas = {{440, 5, 70, 60}, {507, 5, 70, 60}, {570, 5, 70, 60}};
const Rects kUsedIcons = {{453, 5, 54, 51}, {514, 5, 54, 51}, {578, 5, 54, 51}};
const Rect kMarker = {224, 30, 20, 20};

TEST(Pictures, HighlightedPicturesChangeOnlyTheAreasTheGameCopies)
{
    const Rects entries = {{161, 121, 320, 50}, {161, 184, 320, 50}, {161, 249, 320, 50}, {161, 307, 320, 50},
                           {161, 367, 320, 50}};
    const Rects pieces = {kUsedAreas[0], kUsedAreas[1], kUsedAreas[2], kMarker};
    const struct { std::string normal, lit; Rects changed, exempt; } rows[] = {
        {"slanguage", "sslanguage", {{220, 130, 220, 160}, {80, 290, 220, 160}, {360, 290, 220, 160}}, {}},
        {"option", "soption", {{0, 180, 240, 35}, {400, 180, 240, 35}, {0, 335, 240, 35}, {400, 335, 240, 35}}, {}},
        {"menu", "smenu", entries, pieces}, {"eng/menu", "eng/smenu", entries, pieces},
        {"swe/menu", "swe/smenu", entries, pieces}};
    Picture game("game.png");
    for (const auto &row : rows) {
        Picture a(row.normal + ".png"), b(row.lit + ".png");
        ASSERT_TRUE(game && a && b) << row.lit;
        auto differs = [&](int x, int y) { return a(x, y) != b(x, y); };
        for (const Rect &r : row.changed) {
            EXPECT_GT(count(r, differs), r.w * r.h / 10) << row.lit << ": hardly changes at " << r.x << "," << r.y;
            Rect label = {201, r.y + 12, 240, 26};  // in a menu entry: light on the dark bar, dark on the lit one
            EXPECT_TRUE(row.exempt.empty() || (count(label, [&](int x, int y) { return luma(a(x, y)) > 200; }) > 150 &&
                                               count(label, [&](int x, int y) { return luma(b(x, y)) < 60; }) > 150));
        }
        EXPECT_EQ(count({0, 0, 640, 480}, [&](int x, int y) {
            return differs(x, y) && !in(row.changed, x, y) && !in(row.exempt, x, y);
        }), 0) << row.lit;
        // Marking a lifeline copies its whole area, neighbours' edges and all: only its used icon may differ.
        auto used = [&](int x, int y) { return b(x, y) != game(x, y); };
        for (size_t k = 0; row.exempt.size() && k < 3; k++) {
            EXPECT_EQ(count(kUsedAreas[k], [&](int x, int y) { return used(x, y) && !in(kUsedIcons, x, y); }), 0);
            EXPECT_GT(count(kUsedIcons[k], used), 54 * 51 / 3) << row.lit << ": the used icon " << k << " looks unused";
        }
    }
}

TEST(Pictures, GameScreenLadderAndAnswers)
{
    Picture game("game.png"), lit("smenu.png");
    ASSERT_TRUE(game && lit);
    auto light = [&](int min) { return [&, min](int x, int y) { return luma(game(x, y)) >= min; }; };
    EXPECT_GT(count(kMarker, [&](int x, int y) { return luma(lit(x, y)) > 150; }), 20) << "marker unlit";
    for (int rung : {198, 182, 167, 152, 137, 122, 107, 92, 77, 52, 37, 22}) {
        // The marker's rim against the ladder under it, and the amount beside it.
        EXPECT_EQ(count({0, 0, 20, 20}, [&](int i, int j) {
            Uint32 m = lit(kMarker.x + i, kMarker.y + j), l = game(408 + i, rung + j);  // on the rim:
            return (i % 19 == 0 || j % 19 == 0) &&
                   (abs(ch(m, 0) - ch(l, 0)) > 4 || abs(ch(m, 1) - ch(l, 1)) > 4 || abs(ch(m, 2) - ch(l, 2)) > 4);
        }), 0) << rung;
        EXPECT_GT(count({350, rung + 3, 58, 14}, light(151)), 15) << rung;
    }
    // Per answer: the area 50:50 clears stays light; the unmarked bar is light and far from the marking red.
    for (int k = 0; k < 4; k++) {
        int right = k % 2, low = k / 2;
        EXPECT_EQ(count({80 + 320 * right, 355 + 69 * low, 220, 40}, light(170)), 220 * 40);
        EXPECT_EQ(count({87 + 326 * right, 395 + 62 * low, 205, 5}, [&](int x, int y) {
            Uint32 c = game(x, y);
            return luma(c) >= 150 && std::hypot(255 - ch(c, 0), std::hypot(ch(c, 1), ch(c, 2))) >= 150;
        }), 205 * 5);
    }
}

// The widest texts the game draws at each place: every pixel on a light one (a dark one for white text).
TEST(Pictures, TextsFitAndStayReadableOnTheirPanels)
{
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font *fonts[] = {TTF_OpenFont(GAME_DIR "/Vera.ttf", 14), TTF_OpenFont(GAME_DIR "/Vera.ttf", 20)};
    ASSERT_TRUE(fonts[0] && fonts[1]);
    const char *name = "WWWWWWWWWWW";  // the entry takes eleven letters
    const struct { const char *picture; int big, white, x, y; const char *text; } rows[] = {
        {"game", 1, 0, 40, 20, name}, {"name", 1, 0, 140, 400, name},
        {"game", 0, 0, 120, 290, "Which of these rivers flows through more capital cities than a"},
        {"name", 1, 0, 270, 360, "Var v\xe4nlig ange ditt namn"},
        {"thebest", 1, 0, 110, 176, name}, {"thebest", 1, 0, 110, 380, name}, {"thebest", 1, 0, 480, 176, "10000000"},
        {"thebest", 1, 0, 480, 380, "10000000"}, {"option", 1, 1, 240, 430, "Quit"},
        {"information", 1, 0, 40, 20, "Nie mozna otworzyc pliku: quest/pol/srednie.qst\n"},
        {"information", 0, 0, 40, 55, "Tryck p\xe5 v\xe4nster musknapp f\xf6r att forts\xe4tta"},
        {"information", 1, 0, 50, 30, "Gracz telefoniczny stawia na odpowiedz D"},
        {"information", 1, 0, 170, 10, "Publicznosc m\xf3wi:"}, {"information", 0, 0, 360, 55, "Odpowiedz D 100%"}};
    for (const auto &row : rows) {
        Picture pic(row.picture + std::string(".png"));
        SDL_Surface *ink = TTF_RenderText_Solid(fonts[row.big], row.text, SDL_Color{255, 255, 255, 0});
        ASSERT_TRUE(pic && ink);
        EXPECT_EQ(count({0, 0, ink->w, ink->h}, [&](int i, int j) {
            int x = row.x + i, y = row.y + j, l = x < pic->w && y < pic->h ? luma(pic(x, y)) : -1;
            return ((Uint8 *)ink->pixels)[j * ink->pitch + i] && (l < 0 || (row.white ? l > 70 : l < 150));
        }), 0) << row.picture << ": " << row.text << " at " << row.x << "," << row.y;
        SDL_FreeSurface(ink);
    }
    TTF_CloseFont(fonts[0]), TTF_CloseFont(fonts[1]), TTF_Quit();
}

// Each sound played as the game plays it, then decoded by the same mixer at the game's 44100 Hz, 16 bits, stereo.
TEST(Sounds, EachPlaysAudiblyForItsTimeAndEndsOrLoopsWithoutAClick)
{
    int rate = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_TRUE(!setenv("SDL_AUDIODRIVER", "dummy", 1) && SDL_Init(SDL_INIT_AUDIO) == 0 &&
                Mix_OpenAudio(44100, AUDIO_S16MSB, 2, 4096) == 0 && Mix_QuerySpec(&rate, &format, &channels) &&
                rate == 44100 && channels == 2);
    // Clicks and keystrokes follow one another 200 ms apart; tunes loop.
    const std::pair<std::string, double> rows[] = {{"button.wav", 0.2}, {"name_input.wav", 0.2},
        {"button_press.wav", 0.2}, {"bad_answer.wav", 3}, {"half.wav", 3}, {"peoples.wav", 3},
        {"start_button.wav", 3}, {"winner.wav", 3}, {"aplause.wav", 4}, {"telephone.wav", 4}, {"msx_menu.ogg", 60},
        {"msx_game.ogg", 60}};
    std::vector<std::vector<int>> tunes;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.first);
        bool tune = row.first.back() == 'g';
        Mix_Music *music = Mix_LoadMUS((GAME_DIR "/sfx/" + row.first).c_str());
        EXPECT_TRUE(music && Mix_PlayMusic(music, tune ? -1 : 1) == 0 && Mix_PlayingMusic()) << "does not play";
        Mix_FreeMusic(music);
        Mix_Chunk *chunk = Mix_LoadWAV((GAME_DIR "/sfx/" + row.first).c_str());
        ASSERT_TRUE(chunk);
        std::vector<int> s;  // left, right, left...
        for (Uint32 i = 0, lsb = format == AUDIO_S16LSB; i + 1 < chunk->alen; i += 2)
            s.push_back((Sint16)(chunk->abuf[i + lsb] << 8 | chunk->abuf[i + 1 - lsb]));
        Mix_FreeChunk(chunk);
        ASSERT_GE(s.size() / 2 / 44100.0, tune ? 20 : 0.03);
        EXPECT_LE(s.size() / 2 / 44100.0, row.second);
        double power = 0, steps = 0;  // of the samples, and of the steps from one to the next
        int top = 0, tail = 0;        // the loudest sample, and the loudest of the last 10 ms
        for (size_t i = 2; i < s.size(); i++) {
            power += double(s[i]) * s[i], steps += double(s[i] - s[i - 2]) * (s[i] - s[i - 2]);
            top = std::max(top, abs(s[i])), tail = i + 882 < s.size() ? 0 : std::max(tail, abs(s[i]));
        }
        EXPECT_GT(std::sqrt(power / s.size()), tune ? 1000 : 500) << "too quiet";
        EXPECT_LT(top, 32767) << "clipped";
        EXPECT_TRUE(tune || tail < top / 20) << "cut off at full swing, it clicks";
        for (int c = 0; tune && c < 2; c++)  // from the last sample to the first: an ordinary step
            EXPECT_LE(abs(s[c] - s[s.size() - 2 + c]), 3 * std::sqrt(steps / s.size())) << "a jump at the seam";
        if (tune)
            tunes.push_back(s);
    }
    EXPECT_TRUE(tunes.size() == 2 && !std::equal(tunes[0].begin(), tunes[0].begin() + 88200, tunes[1].begin()))
        << "the same tune twice";
    Mix_CloseAudio(), SDL_Quit();
}
}  // namespace
