// orb-xconvert: writes a text X file as binary or compressed X, for trying
// the game's model reader on the forms other exporters write.
//   orb-xconvert binary|binary64|compressed|binary-compressed IN OUT
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "XConvert.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: orb-xconvert binary|binary64|compressed|binary-compressed IN OUT\n");
        return 2;
    }
    const std::string form = argv[1];
    std::ifstream in(argv[2], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::optional<std::string> out;
    if (form == "binary" || form == "binary64" || form == "binary-compressed")
        out = XConvert::TextToBinary(text, form == "binary64");
    else if (form == "compressed")
        out = text;
    if (out && (form == "compressed" || form == "binary-compressed"))
        out = XConvert::Compress(*out);
    if (!in || !out) {
        std::fprintf(stderr, "orb-xconvert: %s is not a text X file this tool can convert\n", argv[2]);
        return 1;
    }
    std::ofstream(argv[3], std::ios::binary) << *out;
    return 0;
}
