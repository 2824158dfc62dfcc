#include "platform/desktop_services.h"

#include <cstdio>

namespace platform {

void RecordingDesktopServices::ShowInformation(const std::string& text)
{
    Boxes.push_back({BoxKind::Information, text});
}

void RecordingDesktopServices::ShowError(const std::string& text)
{
    Boxes.push_back({BoxKind::Error, text});
}

bool RecordingDesktopServices::OpenDocument(const std::string& path)
{
    OpenedDocuments.push_back(path);
    return OpensDocuments;
}

void RecordingDesktopServices::ProcessEvents()
{
    ++ProcessEventsCalls;
}

void ConsoleDesktopServices::ShowInformation(const std::string& text)
{
    std::fprintf(stderr, "orbivane: %s\n", text.c_str());
}

void ConsoleDesktopServices::ShowError(const std::string& text)
{
    std::fprintf(stderr, "orbivane: error: %s\n", text.c_str());
}

bool ConsoleDesktopServices::OpenDocument(const std::string& path)
{
    std::fprintf(stderr, "orbivane: cannot open %s without a desktop\n", path.c_str());
    return false;
}

void ConsoleDesktopServices::ProcessEvents() {}

} // namespace platform
