// Build-time tool: writes the window icon's PNG sizes as C++ arrays of premultiplied ARGB32
// pixels, so that the program sets its icon without decoding a PNG at start-up.
//   icon_pixels OUT.cpp SIZE=FILE.png ...
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: icon_pixels OUT.cpp SIZE=FILE.png ...\n");
        return 2;
    }
    QByteArray out = "// Made by icon_pixels from data/icons at build time; not to be edited.\n"
                     "#include \"desktop/WindowIconPixels.h\"\n\nnamespace {\n";
    QByteArray table = "}\n\nconst std::vector<TIconPixels> &WindowIconPixels()\n{\n"
                       "    static const std::vector<TIconPixels> images{\n";
    for (int i = 2; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        const int eq = arg.indexOf('=');
        const int size = arg.left(eq).toInt();
        const QImage image = QImage(QString::fromLocal8Bit(arg.mid(eq + 1)), "png")
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (eq <= 0 || image.isNull() || image.width() != size || image.height() != size) {
            std::fprintf(stderr, "icon_pixels: %s is no %d-pixel square PNG\n", argv[i], size);
            return 1;
        }
        out += "const std::uint32_t Icon" + QByteArray::number(size) + "[] = {";
        for (int y = 0; y < size; ++y) {
            out += "\n   ";
            const auto *line = reinterpret_cast<const std::uint32_t *>(image.constScanLine(y));
            for (int x = 0; x < size; ++x)
                out += " 0x" + QByteArray::number(line[x], 16).rightJustified(8, '0') + ',';
        }
        out += "\n};\n";
        table += "        {" + QByteArray::number(size) + ", Icon" + QByteArray::number(size) + "},\n";
    }
    out += table + "    };\n    return images;\n}\n";
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(out) != out.size()) {
        std::fprintf(stderr, "icon_pixels: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
