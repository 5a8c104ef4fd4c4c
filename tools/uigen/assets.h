#pragma once
// The full list of files the generator owns, produced in memory.

#include <cstdint>
#include <string>
#include <vector>

#include "png_writer.h"

struct GeneratedAsset {
    std::string path;  // key relative to the repository root
    bool is_image;
    PixelImage image;  // when is_image
    std::string text;  // otherwise
};

std::vector<GeneratedAsset> generate_all();
std::vector<uint8_t> asset_bytes(const GeneratedAsset& asset);
const GeneratedAsset* find_asset(const std::vector<GeneratedAsset>& assets, const std::string& path);
