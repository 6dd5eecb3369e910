// A monitor's profile as any program on the desktop may have set it on the root window: any
// bytes go through Little CMS's reader and, when it takes them, through the conversion of a few
// device values. Nothing may crash, hang or read outside the bytes.
#include "desktop/DisplayProfile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const TDisplayProfile profile = TDisplayProfile::FromBytes(bytes);
    for (TColor c : {0x000000, 0xFFFFFF, 0x123456, 0x80FF00})
        (void)profile.AsShown(c);
    (void)profile.Caption();
    return 0;
}
