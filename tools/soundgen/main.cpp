// orb-soundgen FOLDER: writes every sound file the game loads into FOLDER
// (created if missing). The same source always writes the same bytes.
#include <cstdio>
#include <filesystem>
#include <string>

#include "SoundCatalog.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: orb-soundgen FOLDER\n", stderr);
        return 2;
    }
    std::error_code folderError;
    std::filesystem::create_directories(argv[1], folderError);
    if (folderError) {
        std::fprintf(stderr, "orb-soundgen: cannot make %s: %s\n", argv[1], folderError.message().c_str());
        return 1;
    }
    std::string error;
    if (!WriteSoundCatalog(argv[1], error)) {
        std::fprintf(stderr, "orb-soundgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
