#pragma once

#include "colour/OpenOnFirstUse.h"

#include <QString>

#include <zip.h>

// libzip, opened the first time a .kpl palette is read or written. Linked to the program it would
// be loaded, with the crypto library it needs, at every start, for a format few palettes use.
#define PIGMORA_LIBZIP_FUNCTIONS(X)                                                                         \
    X(zip_close) X(zip_discard) X(zip_error_fini) X(zip_error_init) X(zip_error_strerror) X(zip_fclose)        \
    X(zip_file_add) X(zip_file_set_mtime) X(zip_file_strerror) X(zip_fopen_index) X(zip_fread)                 \
    X(zip_get_num_entries) X(zip_name_locate) X(zip_open_from_source) X(zip_set_file_compression)              \
    X(zip_source_buffer) X(zip_source_buffer_create) X(zip_source_close) X(zip_source_free) X(zip_source_keep) \
    X(zip_source_open) X(zip_source_read) X(zip_strerror)

struct TLibZip {
    PIGMORA_FUNCTION_TABLE(PIGMORA_LIBZIP_FUNCTIONS)
};

// The library's functions, or null with the reason in `why` where it cannot be loaded.
const TLibZip *LibZip(QString &why);
