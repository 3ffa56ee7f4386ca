#include "model/tiff_messages.h"

#include <cstdarg>
#include <dlfcn.h>
#include <initializer_list>

namespace
{
// libtiff's handler type and the functions that set them (tiffio.h).
using TiffHandler = void (*)(const char *module, const char *format, va_list args);
using SetTiffHandler = TiffHandler (*)(TiffHandler);

void ignore(const char *, const char *, va_list) {}

bool quieten()
{
    // The library Qt's TIFF reader is linked with: loading it here gives the
    // same instance the reader will use.
    void *library = dlopen("libtiff.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (!library)
        return false;
    for (const char *name : {"TIFFSetWarningHandler", "TIFFSetErrorHandler"})
        if (auto set = reinterpret_cast<SetTiffHandler>(dlsym(library, name)))
            set(ignore);
    return true; // the library stays loaded
}
} // namespace

void QuietTiffMessages()
{
    static const bool done = quieten();
    (void)done;
}
