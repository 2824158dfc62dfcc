#include "tests/support/gl_drivers.h"

#include <dlfcn.h>
#include <link.h>

#include <cstring>

namespace {

bool IsGLDriver(const char* path)
{
    return std::strstr(path, "_dri.so") != nullptr || std::strstr(path, "libEGL_mesa") != nullptr ||
           std::strstr(path, "libGLX_mesa") != nullptr || std::strstr(path, "libgallium") != nullptr;
}

int PinModule(dl_phdr_info* info, std::size_t, void*)
{
    if (info->dlpi_name != nullptr && IsGLDriver(info->dlpi_name))
        dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE); // only marks a loaded module
    return 0;
}

} // namespace

// Mesa's software driver keeps the selection-mode stage of a context after the context is
// destroyed (once per context, whatever the number of passes); the D-Bus and fontconfig libraries
// that Qt's X11 window system loads keep a connection buffer and a font cache to the end. Those are
// theirs, not ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:swrast_dri.so\nleak:libdbus-1.so\nleak:libfontconfig.so\n";
}

void KeepGLDriversLoaded()
{
    dl_iterate_phdr(PinModule, nullptr);
}
