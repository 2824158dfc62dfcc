// orbivane-snapshot: renders the application scene for a ring on a folder into a PNG file, without
// a display. The program folder (textures, fonts, settings, views) is the one beside this tool, or
// ORBIVANE_HOME.
#include <iostream>

#include "tools/snapshot/snapshot.h"

int main(int argc, char** argv)
{
    snapshot::Options options;
    if (auto error = snapshot::ParseArguments(std::vector<std::string>(argv + 1, argv + argc), options)) {
        std::cerr << "orbivane-snapshot: " << *error << "\n" << snapshot::Usage();
        return 2;
    }
    snapshot::Picture picture;
    if (auto error = snapshot::Render(options, picture)) {
        std::cerr << "orbivane-snapshot: " << *error << "\n";
        return 1;
    }
    if (auto error = snapshot::WritePng(options.Out, picture)) {
        std::cerr << "orbivane-snapshot: " << *error << "\n";
        return 1;
    }
    return 0;
}
