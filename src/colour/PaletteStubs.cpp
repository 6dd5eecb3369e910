// Placeholders while the formats are built.
#include "colour/PaletteCodecs.h"

namespace palettecodecs {
QByteArray WriteGpl(const TPalette &) { return {}; }
std::optional<TPalette> ReadGpl(const QByteArray &, QString &) { return std::nullopt; }
QByteArray WriteCss(const TPalette &) { return {}; }
std::optional<TPalette> ReadCss(const QByteArray &, QString &) { return std::nullopt; }
QByteArray WriteTailwind(const TPalette &) { return {}; }
std::optional<TPalette> ReadTailwind(const QByteArray &, QString &) { return std::nullopt; }
QByteArray WriteTokens(const TPalette &) { return {}; }
std::optional<TPalette> ReadTokens(const QByteArray &, QString &) { return std::nullopt; }
QByteArray WriteAse(const TPalette &) { return {}; }
std::optional<TPalette> ReadAse(const QByteArray &, QString &) { return std::nullopt; }
QByteArray WriteKpl(const TPalette &) { return {}; }
std::optional<TPalette> ReadKpl(const QByteArray &, QString &) { return std::nullopt; }
QByteArray WriteSoc(const TPalette &) { return {}; }
std::optional<TPalette> ReadSoc(const QByteArray &, QString &) { return std::nullopt; }
QByteArray WriteScribus(const TPalette &) { return {}; }
std::optional<TPalette> ReadScribus(const QByteArray &, QString &) { return std::nullopt; }
QByteArray WriteSvgSheet(const TPalette &) { return {}; }
QByteArray WritePngSheet(const TPalette &) { return {}; }
} // namespace palettecodecs
