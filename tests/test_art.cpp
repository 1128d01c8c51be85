// The pictures and sounds as built into the game folder: what the game's
// drawing and sound code takes for granted about them.
#include <gtest/gtest.h>
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>
#include <SDL/SDL_ttf.h>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

namespace {
const std::string kGame = GAME_DIR;
struct Rect { int x, y, w, h; bool has(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; } };
using Rects = std::vector<Rect>;
using Surface = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface *)>;
Surface load(const std::string &name) { return Surface(IMG_Load((kGame + "/" + name).c_str()), SDL_FreeSurface); }
Uint32 rgb(const Surface &s, int x, int y)  // 0xRRGGBB of a 24-bit picture
{
    const Uint8 *p = (const Uint8 *)s->pixels + y * s->pitch + x * 3;
    Uint8 r, g, b;
    return SDL_GetRGB(p[0] | p[1] << 8 | p[2] << 16, s->format, &r, &g, &b), r << 16 | g << 8 | b;
}
int ch(Uint32 c, int i) { return c >> (16 - 8 * i) & 255; }
int luma(Uint32 c) { return (299 * ch(c, 0) + 587 * ch(c, 1) + 114 * ch(c, 2)) / 1000; }
bool within(const Rects &rs, int x, int y) { return std::any_of(rs.begin(), rs.end(), [&](const Rect &r) { return r.has(x, y); }); }
// The pixels of r where f(x, y) holds.
template <class F> int count(const Rect &r, F f) { int n = 0; for (int i = 0; i < r.w * r.h; i++) n += f(r.x + i % r.w, r.y + i / r.w); return n; }
const char *const kMenus[] = {"gfx/", "gfx/eng/", "gfx/swe/"};
const Rects kUsedAreas = {{440, 5, 70, 60}, {507, 5, 70, 60}, {570, 5, 70, 60}};  // as the game copies them
const Rects kUsedIcons = {{453, 5, 54, 51}, {514, 5, 54, 51}, {578, 5, 54, 51}};  // the icons in them
const Rect kMarker = {224, 30, 20, 20};

TEST(Pictures, EveryPictureIsAnRgbPngOfItsSize)
{
    for (std::string name : {"logo", "title", "slanguage", "sslanguage", "menu", "smenu", "eng/menu", "eng/smenu",
                             "swe/menu", "swe/smenu", "game", "name", "option", "soption", "info", "thebest",
                             "information"}) {
        SCOPED_TRACE(name);  // rsvg writes RGBA: the flattening to RGB must not be lost
        std::string b(26, 0);
        std::ifstream(kGame + "/gfx/" + name + ".png", std::ios::binary).read(&b[0], 26);
        EXPECT_EQ(b.substr(1, 3) + char('0' + b[24]) + char('0' + b[25]), "PNG82") << "8-bit RGB without alpha";
        Surface s = load("gfx/" + name + ".png");
        ASSERT_TRUE(s);
        EXPECT_EQ(s->format->BitsPerPixel, 24);
        EXPECT_EQ(s->w * 1000 + s->h, name == "information" ? 570092 : 640480);
    }
}

TEST(Pictures, HighlightsChangeOnlyTheAreasTheGameCopies)
{
    Rects pieces = kUsedAreas;  // the menus also carry the game screen's pieces
    pieces.push_back(kMarker);
    struct Row { std::string normal, lit; Rects changed, exempt; };
    const Rects entries = {{161, 121, 320, 50}, {161, 184, 320, 50}, {161, 249, 320, 50}, {161, 307, 320, 50},
                           {161, 367, 320, 50}};
    std::vector<Row> rows = {
        {"slanguage", "sslanguage", {{220, 130, 220, 160}, {80, 290, 220, 160}, {360, 290, 220, 160}}, {}},
        {"option", "soption", {{0, 180, 240, 35}, {400, 180, 240, 35}, {0, 335, 240, 35}, {400, 335, 240, 35}}, {}},
        {"menu", "smenu", entries, pieces}, {"eng/menu", "eng/smenu", entries, pieces},
        {"swe/menu", "swe/smenu", entries, pieces}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.lit);
        Surface a = load("gfx/" + row.normal + ".png"), b = load("gfx/" + row.lit + ".png");
        ASSERT_TRUE(a && b);
        auto differs = [&](int x, int y) { return rgb(a, x, y) != rgb(b, x, y); };
        for (const Rect &r : row.changed)
            EXPECT_GT(count(r, differs), r.w * r.h / 10) << "area at " << r.x << "," << r.y << " hardly changes";
        Rects copied = row.changed;
        copied.insert(copied.end(), row.exempt.begin(), row.exempt.end());
        EXPECT_EQ(count({0, 0, 640, 480}, [&](int x, int y) { return !within(copied, x, y) && differs(x, y); }), 0);
    }
}

TEST(Pictures, GameScreenLifelinesLadderAndAnswers)
{
    Surface game = load("gfx/game.png");
    ASSERT_TRUE(game);
    for (std::string dir : kMenus) {
        SCOPED_TRACE(dir);
        Surface lit = load(dir + "smenu.png");
        ASSERT_TRUE(lit);
        auto differs = [&](int x, int y) { return rgb(game, x, y) != rgb(lit, x, y); };
        // Marking one lifeline copies its whole area, the neighbours' edges
        // included: all there but the used icons must be the game's own.
        for (const Rect &area : kUsedAreas)
            EXPECT_EQ(count(area, [&](int x, int y) { return differs(x, y) && !within(kUsedIcons, x, y); }), 0) << area.x;
        for (const Rect &r : kUsedIcons)
            EXPECT_GT(count(r, differs), r.w * r.h / 3) << "the used icon at " << r.x << " looks unused";
    }
    Surface lit = load("gfx/smenu.png");
    ASSERT_TRUE(lit);
    EXPECT_GT(count(kMarker, [&](int x, int y) { return luma(rgb(lit, x, y)) > 150; }), 20) << "marker unlit";
    for (int rung : {198, 182, 167, 152, 137, 122, 107, 92, 77, 52, 37, 22}) {
        SCOPED_TRACE(rung);  // the marker's rim against the ladder under it, and the amount beside it
        EXPECT_EQ(count({0, 0, 20, 20}, [&](int i, int j) {
            Uint32 m = rgb(lit, kMarker.x + i, kMarker.y + j), l = rgb(game, 408 + i, rung + j);
            bool rim = i == 0 || j == 0 || i == 19 || j == 19;
            return rim && (abs(ch(m, 0) - ch(l, 0)) > 4 || abs(ch(m, 1) - ch(l, 1)) > 4 || abs(ch(m, 2) - ch(l, 2)) > 4);
        }), 0);
        EXPECT_GT(count({350, rung + 3, 58, 14}, [&](int x, int y) { return luma(rgb(game, x, y)) > 150; }), 15);
    }
    // Per answer: the area 50:50 clears (all light), the unmarked bar (light,
    // far from the red the game marks it with), the click area (mostly light).
    for (int k = 0; k < 4; k++) {
        int x = k % 2 * 320, y = k / 2 * 69, xc = k % 2 * 288, yc = k / 2 * 63;
        EXPECT_EQ(count({80 + x, 355 + y, 220, 40}, [&](int x, int y) { return luma(rgb(game, x, y)) < 170; }), 0) << k;
        EXPECT_EQ(count({87 + x + k % 2 * 6, 395 + k / 2 * 62, 205, 5}, [&](int x, int y) {
            Uint32 c = rgb(game, x, y);
            return luma(c) < 150 || std::hypot(255 - ch(c, 0), std::hypot(ch(c, 1), ch(c, 2))) < 150;
        }), 0) << k;
        EXPECT_GT(count({66 + xc, 361 + yc, 230, 40}, [&](int x, int y) { return luma(rgb(game, x, y)) >= 170; }), 7820) << k;
    }
}

// Every pixel of each text, drawn at each place, lands on the picture: on a
// light pixel, or on a dark one for white text. The widest texts shown there.
TEST(Pictures, TextsFitAndStayReadableOnTheirPanels)
{
    ASSERT_EQ(TTF_Init(), 0);
    using Texts = std::vector<std::string>;
    const Texts names = {"mmmmmmmmmmm", "wwwwwwwwwww", "gjpqygjpqyg"};  // the entry takes eleven letters
    struct Row { const char *picture; int size, white; std::vector<std::pair<int, int>> at; Texts texts; } rows[] = {
        {"game", 20, 0, {{40, 20}}, names}, {"name", 20, 0, {{140, 400}}, names},
        {"game", 14, 0, {{120, 270}, {120, 290}}, {"Which of these rivers flows through more capital cities than a"}},
        {"game", 14, 0, {{85, 365}, {405, 365}, {85, 430}, {405, 430}}, {"The Danube, through Vienna"}},
        {"name", 20, 0, {{270, 360}}, {"Prosze wpisac swoje imie", "Var v\xe4nlig ange ditt namn"}},
        {"thebest", 20, 0, {{110, 176}, {110, 227}, {110, 278}, {110, 329}, {110, 380}}, names},
        {"thebest", 20, 0, {{480, 176}, {480, 227}, {480, 278}, {480, 329}, {480, 380}}, {"10000000"}},
        {"option", 20, 1, {{240, 430}}, {"Quit"}}, {"soption", 20, 1, {{240, 430}}, {"Quit"}},
        {"information", 20, 0, {{40, 20}}, {"Nie mozna otworzyc pliku: quest/pol/srednie.qst\n",
            "Kan inte \xf6ppna filen: quest/swe/srednie.qst\n", "Kan inte allokera minne f\xf6r fr\xe5gorna!"}},
        {"information", 14, 0, {{40, 55}}, {"Tryck p\xe5 v\xe4nster musknapp f\xf6r att forts\xe4tta"}},
        {"information", 20, 0, {{50, 30}}, {"Gracz telefoniczny stawia na odpowiedz D"}},
        {"information", 20, 0, {{170, 10}}, {"Publicznosc m\xf3wi:", "The people say's:"}},
        {"information", 14, 0, {{100, 35}, {360, 35}, {100, 55}, {360, 55}}, {"Odpowiedz D 100%"}}};
    for (const Row &row : rows) {
        Surface pic = load(std::string("gfx/") + row.picture + ".png");
        TTF_Font *font = TTF_OpenFont((kGame + "/Vera.ttf").c_str(), row.size);
        ASSERT_TRUE(pic && font);
        for (const std::string &text : row.texts)
            for (auto at : row.at) {
                SCOPED_TRACE(std::string(row.picture) + ": " + text + " at " + std::to_string(at.first));
                SDL_Surface *ink = TTF_RenderText_Solid(font, text.c_str(), SDL_Color{255, 255, 255, 0});
                ASSERT_TRUE(ink);
                EXPECT_EQ(count({0, 0, ink->w, ink->h}, [&](int i, int j) {
                    int x = at.first + i, y = at.second + j, l = x < pic->w && y < pic->h ? luma(rgb(pic, x, y)) : -1;
                    return ((Uint8 *)ink->pixels)[j * ink->pitch + i] && (l < 0 || (row.white ? l > 70 : l < 150));
                }), 0);
                SDL_FreeSurface(ink);
            }
        TTF_CloseFont(font);
    }
    TTF_Quit();
}

// ---------------------------------------------------------------- sounds

// Each sound loaded and started as the game does, on the music channel, and
// decoded by the same mixer at the game's 44100 Hz, 16 bits, stereo.
std::vector<int> play_and_decode(const std::string &file, int loops)
{
    static bool open = !setenv("SDL_AUDIODRIVER", "dummy", 1) && SDL_Init(SDL_INIT_AUDIO) == 0 &&
                       Mix_OpenAudio(44100, AUDIO_S16MSB, 2, 4096) == 0;  // as the game opens it
    std::vector<int> out;
    EXPECT_TRUE(open);
    Mix_Music *music = Mix_LoadMUS((kGame + "/sfx/" + file).c_str());
    EXPECT_TRUE(music && Mix_PlayMusic(music, loops) == 0 && Mix_PlayingMusic()) << "does not play";
    Mix_FreeMusic(music);
    int rate = 0, channels = 0;
    Uint16 format = 0;
    Mix_Chunk *chunk = Mix_LoadWAV((kGame + "/sfx/" + file).c_str());
    EXPECT_TRUE(chunk && Mix_QuerySpec(&rate, &format, &channels) && rate == 44100 && channels == 2);
    for (Uint32 i = 0, lsb = format == AUDIO_S16LSB; chunk && i + 1 < chunk->alen; i += 2)
        out.push_back((Sint16)(chunk->abuf[i + lsb] << 8 | chunk->abuf[i + 1 - lsb]));
    Mix_FreeChunk(chunk);
    return out;
}
double seconds(const std::vector<int> &s) { return s.size() / 2 / 44100.0; }
double rms(const std::vector<int> &s) { double sum = 0; for (int v : s) sum += double(v) * v; return std::sqrt(sum / s.size()); }
int peak(std::vector<int>::const_iterator a, std::vector<int>::const_iterator b) { return std::accumulate(a, b, 0, [](int m, int v) { return std::max(m, std::abs(v)); }); }

TEST(Sounds, EffectsArePlayableShortAudiblePcmEndingQuietly)
{
    // Clicks and keystrokes follow one another, 200 ms apart at the least.
    for (auto row : std::vector<std::pair<std::string, double>>{{"button", 0.2}, {"name_input", 0.2},
             {"button_press", 0.2}, {"bad_answer", 3}, {"half", 3}, {"peoples", 3}, {"start_button", 3},
             {"winner", 3}, {"aplause", 4}, {"telephone", 4}}) {
        SCOPED_TRACE(row.first);
        std::string b(44, 0);
        std::ifstream(kGame + "/sfx/" + row.first + ".wav", std::ios::binary).read(&b[0], 44);
        EXPECT_EQ(b.substr(20, 2) + b.substr(34, 2), std::string("\1\0\20\0", 4)) << "not 16-bit PCM";
        std::vector<int> s = play_and_decode(row.first + ".wav", 1);
        ASSERT_GT(seconds(s), 0.03);
        EXPECT_LE(seconds(s), row.second);
        EXPECT_GT(rms(s), 500) << "too quiet";
        int top = peak(s.begin(), s.end());
        EXPECT_LT(top, 32767) << "clipped";
        EXPECT_LT(peak(s.end() - 882, s.end()), top / 20) << "cut off at full swing, it clicks";
    }
}

TEST(Sounds, TunesArePlayableAndLoopWithoutAJump)
{
    std::vector<int> menu = play_and_decode("msx_menu.ogg", -1), game = play_and_decode("msx_game.ogg", -1);
    for (const std::vector<int> *s : {&menu, &game}) {
        ASSERT_GE(seconds(*s), 20.0);
        EXPECT_LE(seconds(*s), 60.0);
        EXPECT_GT(rms(*s), 1000) << "too quiet";
        for (size_t c = 0; c < 2; c++) {  // the step from the last sample to the first must be an ordinary one
            std::vector<int> steps;
            for (size_t i = c + 2; i < s->size(); i += 2)
                steps.push_back(std::abs((*s)[i] - (*s)[i - 2]));
            std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
            EXPECT_LE(std::abs((*s)[c] - (*s)[s->size() - 2 + c]), steps[steps.size() * 99 / 100]) << c;
        }
    }
    EXPECT_FALSE(std::equal(menu.begin(), menu.begin() + 88200, game.begin())) << "the two tunes are the same";
}
}  // namespace
