#include "output.h"

#include <fstream>
#include <iterator>

namespace {

bool read_bytes(const std::string& path, std::vector<char>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

}  // namespace

std::vector<std::string> write_sheets(const std::vector<GeneratedSheet>& sheets, const std::string& root) {
    std::vector<std::string> failed;
    for (const GeneratedSheet& g : sheets) {
        if (!write_png(root + "/" + g.layout->key, g.image)) failed.emplace_back(g.layout->key);
    }
    return failed;
}

std::vector<std::string> differing_files(const std::vector<GeneratedSheet>& sheets, const std::string& written,
                                         const std::string& committed) {
    std::vector<std::string> diff;
    for (const GeneratedSheet& g : sheets) {
        std::vector<char> a, b;
        const bool ok_a = read_bytes(written + "/" + g.layout->key, a);
        const bool ok_b = read_bytes(committed + "/" + g.layout->key, b);
        if (!ok_a || !ok_b || a != b) diff.emplace_back(g.layout->key);
    }
    return diff;
}
