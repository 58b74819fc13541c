// Paints the editor's embedded images into the folder given on the command line.
#include "Pictures.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTDIR FONTDIR\n", argv[0]);
        return 2;
    }
    std::string out = argv[1];
    std::string fonts = argv[2];
    bool ok = gen::paintToolbar().savePng(out + "/toolbar.png", true);
    ok = gen::paintToolbarBackground().savePng(out + "/gradient.png", false) && ok;
    ok = gen::paintWindowIcon().savePng(out + "/icon.png", true) && ok;
    ok = gen::paintHudScreen(fonts).saveJpeg(out + "/hudtxt.jpg", 85) && ok;
    if (!ok) {
        std::fprintf(stderr, "could not write the images into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
