// orbivane-sizes DIR [--record] [--since DATE | --previous] [--top N] [--json]
#include <ctime>
#include <iostream>

#include "tools/sizes/sizes.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    sizes::Options options;
    if (auto problem = sizes::ParseArguments(std::vector<std::string>(argv + 1, argv + argc), options)) {
        std::cerr << "orbivane-sizes: " << *problem << "\nTry 'orbivane-sizes --help' for more information.\n";
        return sizes::kExitUsage;
    }
    if (options.Help) {
        std::cout << sizes::HelpText();
        return sizes::kExitOk;
    }
    if (options.Version) {
        std::cout << "orbivane-sizes (Orbivane) " ORBIVANE_VERSION "\n";
        return sizes::kExitOk;
    }
    const int code = sizes::Run(options, std::cout, std::cerr, static_cast<std::int64_t>(std::time(nullptr)));
    std::cout.flush();
    return std::cout.fail() && code == sizes::kExitOk ? sizes::kExitTrouble : code;
}
