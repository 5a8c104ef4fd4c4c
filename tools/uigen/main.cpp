// cindervale_uigen: writes the scenery, portraits, lettering and shaders.
//
//   cindervale_uigen [out_dir]            generate into out_dir (default: repository root)
//   cindervale_uigen --list               print the paths it owns, one per line
//   cindervale_uigen --contact out.png    write a contact sheet of everything
//   cindervale_uigen --previews dir       write the full-size review mock-ups

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "assets.h"
#include "contact.h"

#ifndef CINDERVALE_SOURCE_DIR
#define CINDERVALE_SOURCE_DIR "."
#endif

namespace {

int write_all(const std::string& out_dir) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<GeneratedAsset> assets = generate_all();
    size_t total = 0, png_total = 0;
    for (const GeneratedAsset& a : assets) {
        const std::vector<uint8_t> bytes = asset_bytes(a);
        if (!write_file(out_dir + "/" + a.path, bytes)) {
            std::fprintf(stderr, "cannot write %s/%s\n", out_dir.c_str(), a.path.c_str());
            return 1;
        }
        total += bytes.size();
        if (a.is_image) png_total += bytes.size();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu files, %zu bytes (%zu in PNGs), %.2f s\n", assets.size(), total, png_total, seconds);
    return 0;
}

int list_paths() {
    for (const GeneratedAsset& a : generate_all()) std::printf("%s\n", a.path.c_str());
    return 0;
}

int write_contact(const char* path) {
    const PixelImage sheet = make_contact_sheet(generate_all());
    if (!write_png(path, sheet)) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    return 0;
}

int write_previews(const std::string& dir) {
    for (const Preview& p : make_previews(generate_all())) {
        if (!write_png(dir + "/" + p.name + ".png", p.image)) {
            std::fprintf(stderr, "cannot write %s/%s.png\n", dir.c_str(), p.name.c_str());
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--list") == 0) return list_paths();
    if (argc >= 3 && std::strcmp(argv[1], "--contact") == 0) return write_contact(argv[2]);
    if (argc >= 3 && std::strcmp(argv[1], "--previews") == 0) return write_previews(argv[2]);
    if (argc >= 2 && argv[1][0] == '-') {
        std::fprintf(stderr, "usage: %s [out_dir] | --list | --contact out.png | --previews dir\n", argv[0]);
        return 2;
    }
    return write_all(argc >= 2 ? argv[1] : CINDERVALE_SOURCE_DIR);
}
