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

void RecordingDesktopServices::OpenDocument(const std::string& path)
{
    OpenedDocuments.push_back(path);
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

void ConsoleDesktopServices::OpenDocument(const std::string& path)
{
    std::fprintf(stderr, "orbivane: cannot open %s without a desktop\n", path.c_str());
}

void ConsoleDesktopServices::ProcessEvents() {}

} // namespace platform
