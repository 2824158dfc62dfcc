// orbivane-snapshot: renders the application scene for a ring on a folder into a PNG file, without
// a display. The program folder (textures, fonts, settings, views) is the one beside this tool, or
// ORBIVANE_HOME.
#include <iostream>

#include "tools/snapshot/snapshot.h"

int main(int argc, char** argv)
{
    return snapshot::Run(std::vector<std::string>(argv + 1, argv + argc), std::cerr);
}
