#pragma once

#include <QString>

#include <dlfcn.h>

// A library opened by its versioned name the first time it is needed, rather than loaded with
// the program at every start. `Table` is a struct of function pointers with a
// `template <typename L> void LookUp(L &look)` that calls `look(pointer, "name")` for each.
// Gives the table, or null with the reason in `why` where the library cannot be loaded or lacks
// a function. The library stays open for the rest of the run: its functions are held.
template <typename Table>
const Table *OpenOnFirstUse(const char *soname, QString &why)
{
    struct TLoaded {
        Table Functions{};
        QString Failure;
    };
    static const TLoaded loaded = [soname] {
        TLoaded l;
        void *handle = dlopen(soname, RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            l.Failure = QStringLiteral("the library %1 cannot be loaded").arg(QLatin1String(soname));
            return l;
        }
        bool complete = true;
        auto look = [handle, &complete](auto &pointer, const char *name) {
            pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(dlsym(handle, name));
            complete = complete && pointer;
        };
        l.Functions.LookUp(look);
        if (!complete)
            l.Failure = QStringLiteral("the library %1 lacks a function it needs").arg(QLatin1String(soname));
        return l;
    }();
    if (!loaded.Failure.isEmpty()) {
        why = loaded.Failure;
        return nullptr;
    }
    return &loaded.Functions;
}

// Declares a pointer for each function of an X-list and the `LookUp` that fills them.
#define PIGMORA_FUNCTION_TABLE(LIST)                                                                \
    LIST(PIGMORA_TABLE_POINTER)                                                                     \
    template <typename L>                                                                           \
    void LookUp(L &look)                                                                            \
    {                                                                                               \
        LIST(PIGMORA_TABLE_LOOKUP)                                                                  \
    }
#define PIGMORA_TABLE_POINTER(name) decltype(&::name) name = nullptr;
#define PIGMORA_TABLE_LOOKUP(name) look(name, #name);
