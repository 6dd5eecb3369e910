#include "colour/LibZip.h"

const TLibZip *LibZip(QString &why)
{
    return OpenOnFirstUse<TLibZip>(PIGMORA_LIBZIP_SONAME, why);
}
