// The pictures and sounds as built into the game folder: what the game's
// drawing and sound code takes for granted about them.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_mixer.h>
#include <SDL/SDL_ttf.h>

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#ifndef GAME_DIR
#error "GAME_DIR must name the built game folder"
#endif
#ifndef OGGDEC
#define OGGDEC "oggdec"
#endif

namespace {

const std::string kGame = GAME_DIR;

struct Rect {
    int x, y, w, h;
};

struct Rgb {
    int r, g, b;
};

using Surface = std::unique_ptr<SDL_Surface, void (*)(SDL_Surface *)>;

Surface load(const std::string &name)
{
    return Surface(IMG_Load((kGame + "/" + name).c_str()), SDL_FreeSurface);
}

Rgb pixel(SDL_Surface *s, int x, int y)
{
    const Uint8 *p = (const Uint8 *)s->pixels + y * s->pitch + x * s->format->BytesPerPixel;
    Uint32 value = 0;
    for (int i = 0; i < s->format->BytesPerPixel; i++)
        value |= (Uint32)p[i] << (8 * (SDL_BYTEORDER == SDL_LIL_ENDIAN ? i : s->format->BytesPerPixel - 1 - i));
    Uint8 r, g, b;
    SDL_GetRGB(value, s->format, &r, &g, &b);
    return {r, g, b};
}

int luma(Rgb c)
{
    return (299 * c.r + 587 * c.g + 114 * c.b) / 1000;
}

bool same(Rgb a, Rgb b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

bool near(Rgb a, Rgb b)
{
    return std::abs(a.r - b.r) <= 4 && std::abs(a.g - b.g) <= 4 && std::abs(a.b - b.b) <= 4;
}

bool inside(const Rect &r, int x, int y)
{
    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

// Pixels of `r` where the two pictures differ.
int differing(SDL_Surface *a, SDL_Surface *b, const Rect &r)
{
    int n = 0;
    for (int y = r.y; y < r.y + r.h; y++)
        for (int x = r.x; x < r.x + r.w; x++)
            n += !same(pixel(a, x, y), pixel(b, x, y));
    return n;
}

int darkest(SDL_Surface *s, const Rect &r)
{
    int low = 255;
    for (int y = r.y; y < r.y + r.h; y++)
        for (int x = r.x; x < r.x + r.w; x++)
            low = std::min(low, luma(pixel(s, x, y)));
    return low;
}

// The areas the game copies from a highlighted picture, as it sets them.
const std::vector<Rect> kEntries = {
    {161, 121, 320, 50}, {161, 184, 320, 50}, {161, 249, 320, 50}, {161, 307, 320, 50}, {161, 367, 320, 50}};
const std::vector<Rect> kFlags = {{220, 130, 220, 160}, {80, 290, 220, 160}, {360, 290, 220, 160}};
const std::vector<Rect> kOptions = {{0, 180, 240, 35}, {400, 180, 240, 35}, {0, 335, 240, 35}, {400, 335, 240, 35}};
const Rect kQuit = {240, 430, 160, 50};
// Used lifelines: the 70 x 60 areas copied onto the game screen (they
// overlap), and within them where the used icons themselves may stand.
const std::vector<Rect> kUsedAreas = {{440, 5, 70, 60}, {507, 5, 70, 60}, {570, 5, 70, 60}};
const std::vector<Rect> kUsedIcons = {{453, 5, 54, 51}, {514, 5, 54, 51}, {578, 5, 54, 51}};
const Rect kMarker = {224, 30, 20, 20};
const int kMarkerX = 408;
const int kRungs[12] = {198, 182, 167, 152, 137, 122, 107, 92, 77, 52, 37, 22};

const char *const kMenus[] = {"gfx/", "gfx/eng/", "gfx/swe/"};

std::vector<char> file_bytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every pixel outside `changed` (and outside `exempt`) equal; each area of
// `changed` visibly different.
void expect_highlights(const char *normal, const char *lit, const std::vector<Rect> &changed,
                       const std::vector<Rect> &exempt = {})
{
    SCOPED_TRACE(std::string(normal) + " / " + lit);
    Surface a = load(normal), b = load(lit);
    ASSERT_TRUE(a && b);
    for (const Rect &r : changed)
        EXPECT_GT(differing(a.get(), b.get(), r), r.w * r.h / 10)
            << "area at " << r.x << "," << r.y << " hardly changes";
    int stray = 0, first_x = -1, first_y = -1;
    for (int y = 0; y < a->h; y++)
        for (int x = 0; x < a->w; x++) {
            bool skip = false;
            for (const Rect &r : changed)
                skip = skip || inside(r, x, y);
            for (const Rect &r : exempt)
                skip = skip || inside(r, x, y);
            if (!skip && !same(pixel(a.get(), x, y), pixel(b.get(), x, y))) {
                if (stray++ == 0)
                    first_x = x, first_y = y;
            }
        }
    EXPECT_EQ(stray, 0) << "first at " << first_x << "," << first_y;
}

TEST(Pictures, EveryPictureIsAnRgbPngOfItsSize)
{
    struct Expected {
        const char *name;
        int w, h;
    };
    const Expected all[] = {
        {"gfx/logo.png", 640, 480},      {"gfx/title.png", 640, 480},    {"gfx/slanguage.png", 640, 480},
        {"gfx/sslanguage.png", 640, 480}, {"gfx/menu.png", 640, 480},     {"gfx/smenu.png", 640, 480},
        {"gfx/eng/menu.png", 640, 480},  {"gfx/eng/smenu.png", 640, 480}, {"gfx/swe/menu.png", 640, 480},
        {"gfx/swe/smenu.png", 640, 480}, {"gfx/game.png", 640, 480},     {"gfx/name.png", 640, 480},
        {"gfx/option.png", 640, 480},    {"gfx/soption.png", 640, 480},  {"gfx/info.png", 640, 480},
        {"gfx/thebest.png", 640, 480},   {"gfx/information.png", 570, 92},
    };
    for (const Expected &e : all) {
        SCOPED_TRACE(e.name);
        std::vector<char> bytes = file_bytes(kGame + "/" + e.name);
        ASSERT_GT(bytes.size(), 33u);
        EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
        EXPECT_EQ(bytes[24], 8) << "bits per channel";
        EXPECT_EQ(bytes[25], 2) << "PNG colour type: RGB without alpha";
        Surface s = load(e.name);
        ASSERT_TRUE(s) << IMG_GetError();
        EXPECT_EQ(s->w, e.w);
        EXPECT_EQ(s->h, e.h);
        EXPECT_EQ(s->format->BitsPerPixel, 24);
        EXPECT_EQ(s->format->Amask, 0u);
    }
}

TEST(Pictures, HighlightsChangeOnlyTheAreasTheGameCopies)
{
    expect_highlights("gfx/slanguage.png", "gfx/sslanguage.png", kFlags);
    expect_highlights("gfx/option.png", "gfx/soption.png", kOptions);
    std::vector<Rect> game_pieces = kUsedAreas;
    game_pieces.push_back(kMarker);
    for (const char *dir : kMenus)
        expect_highlights((std::string(dir) + "menu.png").c_str(), (std::string(dir) + "smenu.png").c_str(),
                          kEntries, game_pieces);
}

TEST(Pictures, UsedLifelinesMatchTheGameScreenAroundTheIcons)
{
    Surface game = load("gfx/game.png");
    ASSERT_TRUE(game);
    for (const char *dir : kMenus) {
        SCOPED_TRACE(dir);
        Surface lit = load(std::string(dir) + "smenu.png");
        ASSERT_TRUE(lit);
        // Marking one lifeline copies its whole area, the neighbours' edges
        // included: everything there but the used icon must be the game's.
        for (const Rect &area : kUsedAreas)
            for (int y = area.y; y < area.y + area.h; y++)
                for (int x = area.x; x < area.x + area.w; x++) {
                    bool icon = false;
                    for (const Rect &r : kUsedIcons)
                        icon = icon || inside(r, x, y);
                    if (!icon) {
                        ASSERT_TRUE(same(pixel(game.get(), x, y), pixel(lit.get(), x, y)))
                            << "at " << x << "," << y;
                    }
                }
        for (const Rect &r : kUsedIcons)
            EXPECT_GT(differing(game.get(), lit.get(), r), r.w * r.h / 3)
                << "used icon at " << r.x << " looks like the unused one";
    }
}

TEST(Pictures, LadderMarkerLightsEveryRungWithoutASeam)
{
    Surface game = load("gfx/game.png"), lit = load("gfx/smenu.png");
    ASSERT_TRUE(game && lit);
    int bright = 0;
    for (int y = 0; y < kMarker.h; y++)
        for (int x = 0; x < kMarker.w; x++)
            bright += luma(pixel(lit.get(), kMarker.x + x, kMarker.y + y)) > 150;
    EXPECT_GT(bright, 20) << "the marker is not lit";
    for (int rung : kRungs) {
        SCOPED_TRACE(rung);
        // The marker's edge against the ladder it is drawn on.
        for (int i = 0; i < kMarker.w; i++)
            for (int j : {0, kMarker.h - 1}) {
                Rgb edge1 = pixel(lit.get(), kMarker.x + i, kMarker.y + j);
                Rgb ladder1 = pixel(game.get(), kMarkerX + i, rung + j);
                Rgb edge2 = pixel(lit.get(), kMarker.x + j, kMarker.y + i);
                Rgb ladder2 = pixel(game.get(), kMarkerX + j, rung + i);
                ASSERT_TRUE(near(edge1, ladder1)) << "top/bottom edge, column " << i;
                ASSERT_TRUE(near(edge2, ladder2)) << "left/right edge, row " << i;
            }
        // The rung's amount stands just left of the marker, at its height.
        int text = 0;
        for (int y = rung + 3; y < rung + 17; y++)
            for (int x = 350; x < kMarkerX; x++)
                text += luma(pixel(game.get(), x, y)) > 150;
        EXPECT_GT(text, 15) << "no amount beside the rung";
    }
}

TEST(Pictures, AnswerLozengesHoldTextsBarsAndClearedAreas)
{
    Surface game = load("gfx/game.png");
    ASSERT_TRUE(game);
    const Rect bars[] = {{87, 395, 205, 5}, {413, 395, 205, 5}, {87, 457, 205, 5}, {413, 457, 205, 5}};
    const Rect cleared[] = {{80, 355, 220, 40}, {400, 355, 220, 40}, {80, 424, 220, 40}, {400, 424, 220, 40}};
    const Rect clicks[] = {{66, 361, 230, 40}, {354, 361, 230, 40}, {66, 424, 230, 40}, {354, 424, 230, 40}};
    for (int k = 0; k < 4; k++) {
        SCOPED_TRACE(k);
        EXPECT_GE(darkest(game.get(), cleared[k]), 170) << "50:50 would not leave an empty lozenge";
        EXPECT_GE(darkest(game.get(), bars[k]), 150);
        double far = 0;
        for (int y = bars[k].y; y < bars[k].y + bars[k].h; y++)
            for (int x = bars[k].x; x < bars[k].x + bars[k].w; x++) {
                Rgb c = pixel(game.get(), x, y);
                ASSERT_FALSE(c.r > 120 && c.r > 2 * c.g && c.r > 2 * c.b) << "reddish bar at " << x << "," << y;
                far += std::sqrt(double((255 - c.r) * (255 - c.r) + c.g * c.g + c.b * c.b));
            }
        EXPECT_GT(far / (bars[k].w * bars[k].h), 150) << "unmarked bar too close to the marking red";
        int light = 0;
        for (int y = clicks[k].y; y < clicks[k].y + clicks[k].h; y++)
            for (int x = clicks[k].x; x < clicks[k].x + clicks[k].w; x++)
                light += luma(pixel(game.get(), x, y)) >= 170;
        EXPECT_GT(light, clicks[k].w * clicks[k].h * 85 / 100) << "click area outside its lozenge";
    }
}

// ---------------------------------------------------------------- texts

class Fonts : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_EQ(TTF_Init(), 0);
        big = TTF_OpenFont((kGame + "/Vera.ttf").c_str(), 20);
        small = TTF_OpenFont((kGame + "/Vera.ttf").c_str(), 14);
    }
    static void TearDownTestSuite()
    {
        TTF_CloseFont(big);
        TTF_CloseFont(small);
        TTF_Quit();
    }

    // Every glyph pixel of `text` drawn at (x, y) lands inside `picture` on
    // a light pixel (dark text) or on a dark one (white text).
    static void expect_readable(SDL_Surface *picture, TTF_Font *font, const std::string &text, int x, int y,
                                bool white = false)
    {
        SCOPED_TRACE("\"" + text + "\" at " + std::to_string(x) + "," + std::to_string(y));
        ASSERT_TRUE(font);
        SDL_Color ink = {255, 255, 255, 0};
        SDL_Surface *glyphs = TTF_RenderText_Solid(font, text.c_str(), ink);
        ASSERT_TRUE(glyphs);
        int bad = 0, bad_x = 0, bad_y = 0;
        for (int j = 0; j < glyphs->h; j++)
            for (int i = 0; i < glyphs->w; i++) {
                if (((Uint8 *)glyphs->pixels)[j * glyphs->pitch + i] == 0)
                    continue;
                int px = x + i, py = y + j;
                bool ok = px >= 0 && py >= 0 && px < picture->w && py < picture->h;
                if (ok) {
                    int l = luma(pixel(picture, px, py));
                    ok = white ? l <= 70 : l >= 150;
                }
                if (!ok && bad++ == 0)
                    bad_x = px, bad_y = py;
            }
        SDL_FreeSurface(glyphs);
        EXPECT_EQ(bad, 0) << "first unreadable pixel at " << bad_x << "," << bad_y;
    }

    static TTF_Font *big, *small;
};

TTF_Font *Fonts::big = nullptr;
TTF_Font *Fonts::small = nullptr;

// The widest names the name entry lets through: eleven letters.
const char *const kNames[] = {"mmmmmmmmmmm", "wwwwwwwwwww", "gjpqygjpqyg", "NOonE"};

TEST_F(Fonts, GameScreenTextsStandOnLightPanels)
{
    Surface game = load("gfx/game.png");
    ASSERT_TRUE(game);
    for (const char *name : kNames)
        expect_readable(game.get(), big, name, 40, 20);
    // Question lines as long as the panel allows, and answers as long as
    // their cleared areas allow.
    expect_readable(game.get(), small, "Which of these rivers flows through more capital cities than a", 120, 270);
    expect_readable(game.get(), small, "Which of these rivers flows through more capital cities than a", 120, 290);
    const int corners[4][2] = {{85, 365}, {405, 365}, {85, 430}, {405, 430}};
    for (const auto &c : corners)
        expect_readable(game.get(), small, "The Danube, through Vienna", c[0], c[1]);
}

TEST_F(Fonts, NameEntryBestPlayersAndOptionsTexts)
{
    Surface name = load("gfx/name.png"), best = load("gfx/thebest.png");
    Surface option = load("gfx/option.png"), lit = load("gfx/soption.png");
    ASSERT_TRUE(name && best && option && lit);
    for (const char *prompt : {"Prosze wpisac swoje imie", "Please enter your name", "Var v\xe4nlig ange ditt namn"})
        expect_readable(name.get(), big, prompt, 270, 360);
    for (const char *player : kNames)
        expect_readable(name.get(), big, player, 140, 400);
    for (int y : {176, 227, 278, 329, 380}) {
        for (const char *player : kNames)
            expect_readable(best.get(), big, player, 110, y);
        for (const char *amount : {"0", "100", "10000000"})
            expect_readable(best.get(), big, amount, 480, y);
    }
    expect_readable(option.get(), big, "Quit", kQuit.x, kQuit.y, true);
    expect_readable(lit.get(), big, "Quit", kQuit.x, kQuit.y, true);
}

TEST_F(Fonts, EveryMessageFitsTheBoxWhereverItIsShown)
{
    Surface box = load("gfx/information.png");
    ASSERT_TRUE(box);
    // The requester at (20, 200) and (50, 200), the lifelines at (40, 80)
    // and (40, 100): the box stays on the screen.
    for (const auto &at : {std::make_pair(20, 200), std::make_pair(50, 200), std::make_pair(40, 80),
                           std::make_pair(40, 100)}) {
        EXPECT_LE(at.first + box->w, 640);
        EXPECT_LE(at.second + box->h, 480);
    }
    const char *const messages[] = {
        "Nie mozna otworzyc pliku: quest/pol/srednie.qst\n", "Cannot open file: quest/eng/srednie.qst\n",
        "Kan inte \xf6ppna filen: quest/swe/srednie.qst\n",  "Nie moge zaalokowac pamieci na pytania!",
        "Cannot allocate memory for questions!",             "Kan inte allokera minne f\xf6r fr\xe5gorna!",
        "Wlasnie wygrales 10000000",                         "You just won 10000000",
        "Grattis du vann 10000000",
    };
    for (const char *m : messages)
        expect_readable(box.get(), big, m, 40, 20);
    for (const char *prompt : {"Wcisnij lewy przycisk myszy", "Press Left mouse button to continue",
                               "Tryck p\xe5 v\xe4nster musknapp f\xf6r att forts\xe4tta"})
        expect_readable(box.get(), small, prompt, 40, 55);
    for (const char *phone : {"Gracz telefoniczny stawia na odpowiedz D", "Phone player just say it will be answer D",
                              "Telefonhj\xe4lpen svarar  D"})
        expect_readable(box.get(), big, phone, 50, 30);
    for (const char *heading : {"Publicznosc m\xf3wi:", "The people say's:", "Publiken svarar:"})
        expect_readable(box.get(), big, heading, 170, 10);
    for (const char *share : {"Odpowiedz D 100%", "Answer D 100%", "D 100%"})
        for (const auto &at : {std::make_pair(100, 35), std::make_pair(360, 35), std::make_pair(100, 55),
                               std::make_pair(360, 55)})
            expect_readable(box.get(), small, share, at.first, at.second);
}

// ---------------------------------------------------------------- sounds

struct Pcm {
    int channels = 0, rate = 0, bits = 0, format = 0;
    std::vector<int16_t> samples;  // interleaved
    double seconds() const { return channels && rate ? double(samples.size()) / channels / rate : 0; }
};

uint32_t le32(const std::vector<char> &b, size_t at)
{
    return (uint8_t)b[at] | (uint8_t)b[at + 1] << 8 | (uint8_t)b[at + 2] << 16 | (uint32_t)(uint8_t)b[at + 3] << 24;
}

Pcm read_wav(const std::string &path)
{
    Pcm pcm;
    std::vector<char> b = file_bytes(path);
    if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE")
        return pcm;
    for (size_t at = 12; at + 8 <= b.size();) {
        std::string id(b.begin() + at, b.begin() + at + 4);
        size_t size = le32(b, at + 4), body = at + 8;
        if (body + size > b.size())
            break;
        if (id == "fmt ") {
            pcm.format = (uint8_t)b[body] | (uint8_t)b[body + 1] << 8;
            pcm.channels = (uint8_t)b[body + 2] | (uint8_t)b[body + 3] << 8;
            pcm.rate = le32(b, body + 4);
            pcm.bits = (uint8_t)b[body + 14] | (uint8_t)b[body + 15] << 8;
        } else if (id == "data" && pcm.bits == 16) {
            for (size_t i = body; i + 1 < body + size; i += 2)
                pcm.samples.push_back((int16_t)((uint8_t)b[i] | (uint8_t)b[i + 1] << 8));
        }
        at = body + size + (size & 1);
    }
    return pcm;
}

double rms(const std::vector<int16_t> &s)
{
    double sum = 0;
    for (int16_t v : s)
        sum += double(v) * v;
    return s.empty() ? 0 : std::sqrt(sum / s.size());
}

const char *const kTunes[] = {"msx_menu", "msx_game"};
const char *const kEffects[] = {"aplause",      "bad_answer", "button",       "button_press", "half",
                                "name_input",   "peoples",    "start_button", "telephone",    "winner"};

TEST(Sounds, EveryFileLoadsAndPlaysOnTheMusicChannel)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16MSB, 2, 4096), 0) << Mix_GetError();
    std::vector<std::string> files;
    for (const char *t : kTunes)
        files.push_back(std::string("sfx/") + t + ".ogg");
    for (const char *e : kEffects)
        files.push_back(std::string("sfx/") + e + ".wav");
    for (const std::string &f : files) {
        SCOPED_TRACE(f);
        Mix_Music *music = Mix_LoadMUS((kGame + "/" + f).c_str());
        ASSERT_TRUE(music) << Mix_GetError();
        EXPECT_EQ(Mix_PlayMusic(music, 1), 0) << Mix_GetError();
        EXPECT_TRUE(Mix_PlayingMusic());
        Mix_HaltMusic();
        Mix_FreeMusic(music);
    }
    Mix_CloseAudio();
    SDL_Quit();
}

TEST(Sounds, EffectsAreShortAudiblePcmThatEndsQuietly)
{
    for (const char *name : kEffects) {
        SCOPED_TRACE(name);
        Pcm pcm = read_wav(kGame + "/sfx/" + name + ".wav");
        ASSERT_EQ(pcm.format, 1) << "not PCM";
        ASSERT_EQ(pcm.bits, 16);
        ASSERT_FALSE(pcm.samples.empty());
        bool long_one = std::string(name) == "aplause" || std::string(name) == "telephone";
        EXPECT_LE(pcm.seconds(), long_one ? 4.0 : 3.0);
        EXPECT_GT(rms(pcm.samples), 500) << "too quiet";
        int peak = 0;
        for (int16_t v : pcm.samples)
            peak = std::max(peak, std::abs((int)v));
        EXPECT_LT(peak, 32767) << "clipped";
        // A sound cut off at full swing clicks.
        for (int c = 0; c < pcm.channels; c++)
            EXPECT_LT(std::abs((int)pcm.samples[pcm.samples.size() - pcm.channels + c]), 600);
    }
}

TEST(Sounds, TunesLoopWithoutAJumpAtTheSeam)
{
    std::vector<std::vector<int16_t>> openings;
    for (const char *name : kTunes) {
        SCOPED_TRACE(name);
        char temp[] = "/tmp/zenobar-tune-XXXXXX";
        int fd = mkstemp(temp);
        ASSERT_GE(fd, 0);
        close(fd);
        std::string command =
            std::string(OGGDEC) + " -Q -o '" + temp + "' '" + kGame + "/sfx/" + name + ".ogg'";
        ASSERT_EQ(system(command.c_str()), 0) << command;
        Pcm pcm = read_wav(temp);
        unlink(temp);
        ASSERT_GT(pcm.channels, 0);
        EXPECT_GE(pcm.seconds(), 20.0);
        EXPECT_LE(pcm.seconds(), 60.0);
        EXPECT_GT(rms(pcm.samples), 1000) << "too quiet";
        size_t frames = pcm.samples.size() / pcm.channels;
        for (int c = 0; c < pcm.channels; c++) {
            // The step from the last sample to the first, against the steps
            // within the tune: it must be an ordinary one.
            std::vector<int> steps;
            for (size_t i = 1; i < frames; i++)
                steps.push_back(std::abs(pcm.samples[i * pcm.channels + c] - pcm.samples[(i - 1) * pcm.channels + c]));
            std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
            int usual = steps[steps.size() * 99 / 100];
            int seam = std::abs(pcm.samples[c] - pcm.samples[(frames - 1) * pcm.channels + c]);
            EXPECT_LE(seam, usual) << "channel " << c;
        }
        openings.emplace_back(pcm.samples.begin(), pcm.samples.begin() + std::min<size_t>(pcm.samples.size(), 88200));
    }
    ASSERT_EQ(openings.size(), 2u);
    EXPECT_NE(openings[0], openings[1]) << "the two tunes are the same";
}

}  // namespace
