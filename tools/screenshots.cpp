// Plays each language through every screen headless, with the game's real
// data, and saves a picture of each screen: the pictures in docs/.
//   zenobar-screenshots GAME_FOLDER OUTPUT_FOLDER
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "quiz/quiz.h"
#include "shell/shell.h"
#include "tests/harness.h"
#include "tools/png.h"

using namespace harness;

static std::string out_dir;

static bool save_png(SDL_Surface *surface, const std::string &path)
{
    std::vector<Uint8> rgb((size_t)surface->w * surface->h * 3);
    for (int y = 0; y < surface->h; y++)
        for (int x = 0; x < surface->w; x++) {
            Uint32 c = pixel_of(surface, x, y);
            Uint8 *p = &rgb[((size_t)y * surface->w + x) * 3];
            p[0] = (Uint8)(c >> 16);
            p[1] = (Uint8)(c >> 8);
            p[2] = (Uint8)c;
        }
    return write_png_rgb(path, surface->w, surface->h, rgb);
}
static std::string prefix;

static void shot(const char *name)
{
    then([name] {
        std::string path = out_dir + "/" + prefix + "-" + name + ".png";
        if (!save_png(screen, path))
            fprintf(stderr, "cannot write %s\n", path.c_str());
    });
}

static const int slot_x[4] = {150, 450, 150, 450}, slot_y[4] = {380, 380, 440, 440};

static void play(int flag_x, int flag_y, const char *name)
{
    motion(flag_x, flag_y);
    idle(2);
    shot("1-language");
    release(flag_x, flag_y);
    motion(300, 140);
    idle(2);
    shot("2-menu");
    release(300, 140);
    for (const char *c = name; *c; c++)
        type(*c);
    shot("3-name");
    type(SDLK_RETURN);
    // Two questions won, the third marked, then the lifelines, then a loss.
    for (int q = 0; q < 2; q++)
        then([] {
            int s = right_slot();
            click(slot_x[s], slot_y[s]);
            click(slot_x[s], slot_y[s]);
        });
    then([] {
        int s = right_slot();
        click(slot_x[s], slot_y[s]);
        shot("4-game");
        click(480, 20);
        shot("5-fifty");
        click(540, 20);
        shot("6-telephone");
        click(600, 20);
        shot("7-audience");
        int wrong = (s + 1) % 4;
        click(slot_x[wrong], slot_y[wrong]);
    });
    then([] {
        int s = (right_slot() + 2) % 4;
        click(slot_x[s], slot_y[s]);
        click(slot_x[s], slot_y[s]);
        shot("8-result");
    });
    click(5, 5);
    motion(300, 270);
    release(300, 270);
    idle(2);
    shot("9-best");
    click(5, 5);
    motion(300, 200);
    release(300, 200);
    idle(2);
    shot("10-options");
    click(300, 450);
    motion(300, 330);
    release(300, 330);
    idle(2);
    shot("11-info");
    click(5, 5);
    motion(300, 390);
    release(300, 390);
}

int main(int argc, char *argv[])
{
    if (argc != 3) {
        fprintf(stderr, "usage: %s GAME_FOLDER OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    char *real_game = realpath(argv[1], NULL);
    char *real_out = realpath(argv[2], NULL);
    if (real_game == NULL || real_out == NULL) {
        fprintf(stderr, "no folder %s or %s\n", argv[1], argv[2]);
        return 2;
    }
    std::string game = real_game;
    out_dir = real_out;
    free(real_game);
    free(real_out);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    struct {
        const char *prefix;
        int x, y;
        const char *name;
    } runs[] = {{"pol", 330, 200, "agnieszka"}, {"eng", 150, 350, "john"}, {"swe", 450, 350, "sven"}};
    for (const auto &run : runs) {
        char folder[] = "/tmp/zenobar-shots-XXXXXX";
        if (mkdtemp(folder) == NULL)
            return 1;
        for (const char *item : {"gfx", "sfx", "quest", "Vera.ttf"})
            symlink((game + "/" + item).c_str(), (std::string(folder) + "/" + item).c_str());
        if (chdir(folder) != 0)
            return 1;
        reset_state();
        clock_step = 200;
        prefix = run.prefix;
        play(run.x, run.y, run.name);
        char program[] = "zenobar";
        char *args[] = {program, NULL};
        zenobar_main(1, args);
        if (polls_after_script() > 0)
            fprintf(stderr, "%s: the script ran out before the game ended\n", run.prefix);
        system((std::string("rm -rf ") + folder).c_str());
    }
    printf("screenshots in %s\n", out_dir.c_str());
    return 0;
}
