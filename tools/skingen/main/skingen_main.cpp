// skingen SOURCE-FOLDER OUTPUT.mskn: builds the tool's skin file.
#include <cstdio>
#include <exception>

#include "tools/skingen/SkinGen.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skingen SOURCE-FOLDER OUTPUT.mskn\n");
        return 2;
    }
    try {
        tarvel::TSeSkinSource source(nullptr);
        tarvel::BuildSkinSource(argv[1], source);
        tarvel::WriteMaximumSkin(source, argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}
