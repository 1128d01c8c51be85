// A PNG writer for placeholder pictures and screenshots: 8-bit RGB rows.
#ifndef ZENOBAR_TEST_PNG_H
#define ZENOBAR_TEST_PNG_H

#include <zlib.h>

#include <fstream>
#include <string>
#include <vector>

namespace png_detail {

inline void put32(std::string &out, unsigned long v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += (char)((v >> shift) & 0xff);
}

inline void chunk(std::string &out, const char *type, const std::string &data)
{
    put32(out, data.size());
    std::string body = std::string(type, 4) + data;
    out += body;
    put32(out, crc32(0, (const Bytef *)body.data(), (uInt)body.size()));
}

}  // namespace png_detail

inline bool write_png_rgb(const std::string &path, int w, int h, const std::vector<unsigned char> &rgb)
{
    using namespace png_detail;
    std::string raw;
    for (int y = 0; y < h; y++) {
        raw += '\0';  // no filter
        raw.append((const char *)&rgb[(size_t)y * w * 3], (size_t)w * 3);
    }
    uLongf size = compressBound((uLong)raw.size());
    std::string z(size, '\0');
    if (compress2((Bytef *)&z[0], &size, (const Bytef *)raw.data(), (uLong)raw.size(), 6) != Z_OK)
        return false;
    z.resize(size);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string ihdr;
    put32(ihdr, (unsigned long)w);
    put32(ihdr, (unsigned long)h);
    ihdr += std::string("\x08\x02\x00\x00\x00", 5);
    chunk(png, "IHDR", ihdr);
    chunk(png, "IDAT", z);
    chunk(png, "IEND", "");
    std::ofstream f(path, std::ios::binary);
    f << png;
    return (bool)f;
}

#endif
