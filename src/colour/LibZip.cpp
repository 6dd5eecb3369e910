#include "colour/LibZip.h"

#include <dlfcn.h>

namespace {

struct TLoaded {
    TLibZip Functions;
    QString Failure;
};

TLoaded Load()
{
    TLoaded loaded;
    void *handle = dlopen(PIGMORA_LIBZIP_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        loaded.Failure = QStringLiteral("the zip library %1 cannot be loaded").arg(QLatin1String(PIGMORA_LIBZIP_SONAME));
        return loaded;
    }
    bool complete = true;
#define PIGMORA_LIBZIP_LOOKUP(name)                                                              \
    loaded.Functions.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name));           \
    complete = complete && loaded.Functions.name;
    PIGMORA_LIBZIP_FUNCTIONS(PIGMORA_LIBZIP_LOOKUP)
#undef PIGMORA_LIBZIP_LOOKUP
    if (!complete)
        loaded.Failure = QStringLiteral("the zip library %1 lacks a function it needs").arg(QLatin1String(PIGMORA_LIBZIP_SONAME));
    // Kept open for the rest of the run: its functions are held.
    return loaded;
}

} // namespace

const TLibZip *LibZip(QString &why)
{
    static const TLoaded loaded = Load();
    if (!loaded.Failure.isEmpty()) {
        why = loaded.Failure;
        return nullptr;
    }
    return &loaded.Functions;
}
