#include "picture.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <SDL/SDL_ttf.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

static Uint32 read_pixel(const SDL_Surface *s, int x, int y)
{
    const Uint8 *p = (const Uint8 *)s->pixels + y * s->pitch + x * s->format->BytesPerPixel;
    switch (s->format->BytesPerPixel) {
    case 1:
        return *p;
    case 2:
        return *(const Uint16 *)p;
    case 3:
        return SDL_BYTEORDER == SDL_BIG_ENDIAN ? (p[0] << 16 | p[1] << 8 | p[2]) : (p[0] | p[1] << 8 | p[2] << 16);
    default:
        return *(const Uint32 *)p;
    }
}

Image load_picture(const std::string &path)
{
    SDL_Surface *s = IMG_Load(path.c_str());
    if (s == NULL)
        throw std::runtime_error("cannot load " + path + ": " + SDL_GetError());
    Image image;
    image.w = s->w;
    image.h = s->h;
    image.px.resize(size_t(s->w) * size_t(s->h));
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; y++) {
        for (int x = 0; x < s->w; x++) {
            Uint8 r, g, b, a;
            SDL_GetRGBA(read_pixel(s, x, y), s->format, &r, &g, &b, &a);
            image.px[size_t(y) * size_t(s->w) + size_t(x)] = Uint32(a) << 24 | Uint32(r) << 16 | Uint32(g) << 8 | b;
        }
    }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    return image;
}

static void put_be32(std::string &out, uint32_t v)
{
    out += char(v >> 24);
    out += char(v >> 16);
    out += char(v >> 8);
    out += char(v);
}

static void put_chunk(std::string &out, const char *kind, const std::string &body)
{
    put_be32(out, uint32_t(body.size()));
    std::string typed = std::string(kind, 4) + body;
    out += typed;
    put_be32(out, uint32_t(crc32(0, (const Bytef *)typed.data(), uInt(typed.size()))));
}

void save_png(const Image &image, const std::string &path)
{
    std::string raw;
    raw.reserve(size_t(image.h) * (size_t(image.w) * 3 + 1));
    for (int y = 0; y < image.h; y++) {
        raw += char(0);
        for (int x = 0; x < image.w; x++) {
            uint32_t p = image.at(x, y);
            raw += char(p >> 16);
            raw += char(p >> 8);
            raw += char(p);
        }
    }
    uLongf packed_len = compressBound(uLong(raw.size()));
    std::string packed(packed_len, '\0');
    compress2((Bytef *)&packed[0], &packed_len, (const Bytef *)raw.data(), uLong(raw.size()), 3);
    packed.resize(packed_len);

    std::string head;
    put_be32(head, uint32_t(image.w));
    put_be32(head, uint32_t(image.h));
    head += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, not interlaced
    std::string out = "\x89PNG\r\n\x1a\n";
    put_chunk(out, "IHDR", head);
    put_chunk(out, "IDAT", packed);
    put_chunk(out, "IEND", "");
    FILE *f = fopen(path.c_str(), "wb");
    if (f == NULL)
        throw std::runtime_error("cannot write " + path);
    fwrite(out.data(), 1, out.size(), f);
    fclose(f);
}

Fonts::Fonts(const std::string &ttf) : path_(ttf)
{
    if (!TTF_WasInit() && TTF_Init() == -1)
        throw std::runtime_error(std::string("TTF_Init: ") + TTF_GetError());
}

Fonts::~Fonts()
{
    for (auto &f : open_)
        TTF_CloseFont((TTF_Font *)f.second);
}

Glyphs Fonts::render(int points, const std::string &latin1)
{
    void *&font = open_[points];
    if (font == NULL) {
        font = TTF_OpenFont(path_.c_str(), points);
        if (font == NULL)
            throw std::runtime_error("cannot open " + path_ + ": " + TTF_GetError());
    }
    Glyphs g;
    SDL_Color white = {255, 255, 255, 0};
    SDL_Surface *s = TTF_RenderText_Solid((TTF_Font *)font, latin1.c_str(), white);
    if (s == NULL)
        return g;  // nothing to draw, as for the game
    g.w = s->w;
    g.h = s->h;
    g.on.resize(size_t(s->w) * size_t(s->h));
    SDL_LockSurface(s);
    // Solid text is 8-bit: index 0 is the transparent background.
    for (int y = 0; y < s->h; y++)
        for (int x = 0; x < s->w; x++)
            g.on[size_t(y) * size_t(s->w) + size_t(x)] = read_pixel(s, x, y) != 0;
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    return g;
}

Scene::Scene(const Image &background)
    : w_(background.w), h_(background.h), want_(background.px), known_(background.px.size(), 1),
      slack_(background.px.size(), 0)
{
    for (size_t i = 0; i < want_.size(); i++)
        known_[i] = want_[i] >> 24 == 255;
}

void Scene::paint(const Image &picture, Rect from, int x, int y)
{
    for (int row = 0; row < from.h; row++) {
        for (int col = 0; col < from.w; col++) {
            int sx = from.x + col, sy = from.y + row, dx = x + col, dy = y + row;
            if (sx < 0 || sy < 0 || sx >= picture.w || sy >= picture.h || dx < 0 || dy < 0 || dx >= w_ || dy >= h_)
                continue;
            uint32_t p = picture.at(sx, sy);
            size_t i = size_t(dy) * size_t(w_) + size_t(dx);
            if (p >> 24 == 255) {
                want_[i] = p;
                known_[i] = 1;
                slack_[i] = 0;
            } else if (p >> 24 != 0) {
                known_[i] = 0;  // blending rounds differently between blitters
            }
        }
    }
}

void Scene::text(const Glyphs &glyphs, int x, int y, uint32_t rgb)
{
    for (int row = 0; row < glyphs.h; row++) {
        for (int col = 0; col < glyphs.w; col++) {
            int dx = x + col, dy = y + row;
            if (!glyphs.on[size_t(row) * size_t(glyphs.w) + size_t(col)] || dx < 0 || dy < 0 || dx >= w_ || dy >= h_)
                continue;
            size_t i = size_t(dy) * size_t(w_) + size_t(dx);
            want_[i] = 0xff000000u | rgb;
            known_[i] = 1;
            slack_[i] = 0;
        }
    }
}

void Scene::fill(Rect area, uint32_t rgb)
{
    for (int dy = area.y; dy < area.y + area.h; dy++) {
        for (int dx = area.x; dx < area.x + area.w; dx++) {
            if (dx < 0 || dy < 0 || dx >= w_ || dy >= h_)
                continue;
            size_t i = size_t(dy) * size_t(w_) + size_t(dx);
            want_[i] = 0xff000000u | rgb;
            known_[i] = 1;
            slack_[i] = 0;
        }
    }
}

void Scene::loosen(Rect area, int levels)
{
    for (int dy = std::max(area.y, 0); dy < std::min(area.y + area.h, h_); dy++)
        for (int dx = std::max(area.x, 0); dx < std::min(area.x + area.w, w_); dx++)
            slack_[size_t(dy) * size_t(w_) + size_t(dx)] = uint8_t(levels);
}

static bool near(uint32_t a, uint32_t b, int slack)
{
    for (int shift = 0; shift < 24; shift += 8) {
        int d = int((a >> shift) & 0xff) - int((b >> shift) & 0xff);
        if (d > slack || d < -slack)
            return false;
    }
    return true;
}

long Scene::mismatches(const Image &shot, Rect area, std::string *why, const Glyphs *extra, int ex, int ey,
                       uint32_t rgb) const
{
    long bad = 0;
    for (int y = area.y; y < area.y + area.h; y++) {
        for (int x = area.x; x < area.x + area.w; x++) {
            if (x < 0 || y < 0 || x >= w_ || y >= h_ || x >= shot.w || y >= shot.h)
                continue;
            size_t i = size_t(y) * size_t(w_) + size_t(x);
            uint32_t want = want_[i] & 0xffffff, got = shot.at(x, y) & 0xffffff;
            int gx = x - ex, gy = y - ey;
            int slack = slack_[i];
            if (extra != nullptr && gx >= 0 && gy >= 0 && gx < extra->w && gy < extra->h &&
                extra->on[size_t(gy) * size_t(extra->w) + size_t(gx)]) {
                want = rgb;
                slack = 0;
            } else if (!known_[i]) {
                continue;
            }
            if (want == got || (slack > 0 && near(want, got, slack)))
                continue;
            if (bad++ == 0 && why != nullptr) {
                char text[96];
                snprintf(text, sizeof text, "first at (%d,%d): #%06x, expected #%06x", x, y, got, want);
                *why = text;
            }
        }
    }
    return bad;
}
