// The toolkit's shared state with its initial values, and the language.
#include "toolkit/toolkit.h"

SDL_Surface *screen = NULL;
SDL_Surface *image = NULL;
SDL_Surface *simage = NULL;
TTF_Font *font1 = NULL;
TTF_Font *font2 = NULL;
SDL_Event event;
int quit = 0;
int quitapp = 0;
int language = LANG_POLISH;

// The language's row in a table of three laid out Polish, English,
// Swedish; -1 when `language` holds none of them. The one place that
// tells the languages apart.
static int language_row()
{
    switch (language) {
    case LANG_POLISH:
        return 0;
    case LANG_ENGLISH:
        return 1;
    case LANG_SWEDISH:
        return 2;
    }
    return -1;
}

int language_folder()
{
    int row = language_row();
    return row < 0 ? 0 : row;
}

const char *in_language(const char *polish, const char *english, const char *swedish)
{
    const char *texts[3] = {polish, english, swedish};
    int row = language_row();
    return row < 0 ? "" : texts[row];
}
