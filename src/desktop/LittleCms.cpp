#include "desktop/LittleCms.h"

const TLittleCms *LittleCms(QString &why)
{
    return OpenOnFirstUse<TLittleCms>(PIGMORA_LCMS_SONAME, why);
}
