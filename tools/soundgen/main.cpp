// orb-soundgen RUNTIME_DIR: writes every sound file the game loads under
// RUNTIME_DIR, the directory the game runs in. The same source always writes
// the same bytes.
#include <cstdio>
#include <string>

#include "SoundCatalog.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: orb-soundgen RUNTIME_DIR\n", stderr);
        return 2;
    }
    std::string error;
    if (!WriteSoundCatalog(argv[1], error)) {
        std::fprintf(stderr, "orb-soundgen: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
