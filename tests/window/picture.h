// Pictures and what the screen must show, pixel by pixel.
#ifndef ZENOBAR_WINDOW_PICTURE_H
#define ZENOBAR_WINDOW_PICTURE_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct Rect {
    int x, y, w, h;
};

// Pixels 0xAARRGGBB; alpha is 255 wherever a picture has no transparency.
struct Image {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    uint32_t at(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
};

// Loads a picture the way the game does (SDL_image); throws when it cannot.
Image load_picture(const std::string &path);
void save_png(const Image &image, const std::string &path);

// Which pixels SDL_ttf's solid renderer colours for a Latin-1 text.
struct Glyphs {
    int w = 0, h = 0;
    std::vector<uint8_t> on;
};

class Fonts {
public:
    explicit Fonts(const std::string &ttf);
    ~Fonts();
    Glyphs render(int points, const std::string &latin1);

private:
    std::string path_;
    std::map<int, void *> open_;
};

// The screen as it must be: a colour per pixel, or no expectation there.
class Scene {
public:
    explicit Scene(const Image &background);
    // Copies `from` of the picture to (x, y), as an SDL blit would; pixels
    // the picture only partly covers are left open.
    void paint(const Image &picture, Rect from, int x, int y);
    void paint(const Image &picture, int x, int y) { paint(picture, {0, 0, picture.w, picture.h}, x, y); }
    void text(const Glyphs &glyphs, int x, int y, uint32_t rgb);
    void fill(Rect area, uint32_t rgb);
    // Lets the pixels of `area` drawn so far be off by up to `levels` per
    // colour; what is drawn later is exact again.
    void loosen(Rect area, int levels);
    // Pixels of `area` that differ from the shot; the first is described
    // in `why`. `extra`, when given, is a text laid over the scene at
    // (x, y) for this comparison only.
    long mismatches(const Image &shot, Rect area, std::string *why = nullptr, const Glyphs *extra = nullptr,
                    int x = 0, int y = 0, uint32_t rgb = 0) const;
    long mismatches(const Image &shot, std::string *why = nullptr) const
    {
        return mismatches(shot, {0, 0, w_, h_}, why);
    }

private:
    int w_, h_;
    std::vector<uint32_t> want_;
    std::vector<uint8_t> known_;
    std::vector<uint8_t> slack_;
};

#endif
