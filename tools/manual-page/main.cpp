// awning-manual-page TEMPLATE OUTPUT VERSION DATE: writes awning(1) from its template, with the options
// and exit statuses of `awning --help` put in.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/ManualPage.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fputs("usage: awning-manual-page TEMPLATE OUTPUT VERSION DATE\n", stderr);
        return 2;
    }
    std::ifstream pageTemplate(argv[1]);
    std::stringstream text;
    text << pageTemplate.rdbuf();
    if (!pageTemplate) {
        std::fprintf(stderr, "awning-manual-page: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ofstream page(argv[2]);
    page << ManualPage::filledIn(text.str(), argv[3], argv[4]);
    page.close();
    if (!page) {
        std::fprintf(stderr, "awning-manual-page: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
