// Draws every picture the study guide embeds and writes them into a folder.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <set>

#include "art.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: pictures OUTDIR\n");
        return 1;
    }
    try {
        std::vector<pic::NamedFile> files;
        for (auto& f : pic::chromePictures()) files.push_back(std::move(f));
        for (auto& f : pic::glyphPictures()) files.push_back(std::move(f));
        for (auto& f : pic::treePictures()) files.push_back(std::move(f));
        files.push_back(pic::logoPicture());
        files.push_back(pic::iconPicture());

        std::filesystem::path dir(argv[1]);
        std::error_code ec;
        if (!std::filesystem::is_directory(dir, ec) && !std::filesystem::create_directory(dir, ec))
            throw std::runtime_error("cannot create folder " + dir.string() + ": " + ec.message());
        std::set<std::string> names;
        for (auto& f : files) {
            if (!names.insert(f.name).second) throw std::runtime_error("two pictures named " + f.name);
            pic::writeFile((dir / f.name).string(), f.bytes);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pictures: %s\n", e.what());
        return 1;
    }
    return 0;
}
