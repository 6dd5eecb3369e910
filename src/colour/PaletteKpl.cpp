// A .kpl palette: a zip of a "mimetype" entry, the colour set's XML and a list of the ICC
// profiles it carries (none: its colours are sRGB or Lab, which need none).
#include "colour/PaletteCodecs.h"

#include <zip.h>

#include <cstdio>
#include <ctime>
#include <memory>

namespace palettecodecs {

namespace {

constexpr zip_int64_t MaxEntries = 256;
const char MimeType[] = "application/x-krita-palette";
const char ProfilesXml[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Profiles/>\n";

struct TZipCloser {
    void operator()(zip_t *z) const { zip_discard(z); }
};
struct TFileCloser {
    void operator()(zip_file_t *f) const { zip_fclose(f); }
};
struct TSourceFree {
    void operator()(zip_source_t *s) const { zip_source_free(s); }
};

// Adds a file to the archive from bytes that live until it is closed.
bool AddFile(zip_t *zip, const char *name, const QByteArray &bytes, bool stored)
{
    zip_source_t *source = zip_source_buffer(zip, bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0);
    if (!source)
        return false;
    const zip_int64_t index = zip_file_add(zip, name, source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        return false;
    }
    // A fixed time, so that one palette always gives the same file; the fastest deflate, which
    // still packs a colour set's repetitive XML to a tenth.
    zip_file_set_mtime(zip, static_cast<zip_uint64_t>(index), 946684800, 0);
    return zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE, stored ? 0 : 1) == 0;
}

} // namespace

QByteArray WriteKpl(const TPalette &palette)
{
    const QByteArray mime(MimeType);
    const QByteArray colourSet = WriteKritaColourSet(palette);
    const QByteArray profiles(ProfilesXml);
    zip_error_t error;
    zip_error_init(&error);
    std::unique_ptr<zip_source_t, TSourceFree> buffer(zip_source_buffer_create(nullptr, 0, 0, &error));
    zip_error_fini(&error);
    if (!buffer)
        return {};
    zip_source_keep(buffer.get());
    zip_t *zip = zip_open_from_source(buffer.get(), ZIP_TRUNCATE, nullptr);
    if (!zip) {
        zip_source_free(buffer.get()); // the reference kept for the archive
        return {};
    }
    if (!AddFile(zip, "mimetype", mime, true) || !AddFile(zip, "colorset.xml", colourSet, false) ||
        !AddFile(zip, "profiles.xml", profiles, false) || zip_close(zip) != 0) {
        zip_discard(zip);
        return {};
    }
    zip_source_t *out = buffer.get();
    if (zip_source_open(out) != 0)
        return {};
    QByteArray bytes;
    char chunk[65536];
    zip_int64_t n;
    while ((n = zip_source_read(out, chunk, sizeof chunk)) > 0)
        bytes.append(chunk, static_cast<qsizetype>(n));
    zip_source_close(out);
    return n < 0 ? QByteArray() : bytes;
}

std::optional<TPalette> ReadKpl(const QByteArray &bytes, QString &why)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    std::unique_ptr<zip_t, TZipCloser> zip(source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr);
    if (!zip) {
        why = QStringLiteral("it is no zip file (%1)").arg(QString::fromUtf8(zip_error_strerror(&error)));
        zip_error_fini(&error);
        if (source)
            zip_source_free(source);
        return std::nullopt;
    }
    zip_error_fini(&error);
    if (zip_get_num_entries(zip.get(), 0) > MaxEntries) {
        why = QStringLiteral("its zip holds more than %1 files").arg(MaxEntries);
        return std::nullopt;
    }
    const zip_int64_t index = zip_name_locate(zip.get(), "colorset.xml", 0);
    if (index < 0) {
        why = QStringLiteral("its zip holds no colorset.xml");
        return std::nullopt;
    }
    std::unique_ptr<zip_file_t, TFileCloser> file(zip_fopen_index(zip.get(), static_cast<zip_uint64_t>(index), 0));
    if (!file) {
        why = QStringLiteral("its colorset.xml cannot be unpacked (%1)").arg(QString::fromUtf8(zip_strerror(zip.get())));
        return std::nullopt;
    }
    // The size the zip states is not trusted: the unpacking stops past the limit.
    QByteArray xml;
    char chunk[65536];
    zip_int64_t n;
    while ((n = zip_fread(file.get(), chunk, sizeof chunk)) > 0) {
        xml.append(chunk, static_cast<qsizetype>(n));
        if (xml.size() > MaxPaletteBytes) {
            why = QStringLiteral("its colorset.xml unpacks to more than 16 MB");
            return std::nullopt;
        }
    }
    if (n < 0) {
        why = QStringLiteral("its colorset.xml cannot be unpacked (%1)").arg(QString::fromUtf8(zip_file_strerror(file.get())));
        return std::nullopt;
    }
    return ReadKritaColourSet(xml, why);
}

} // namespace palettecodecs
