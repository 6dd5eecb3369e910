#pragma once

// Readability of text in a rendering: WCAG relative luminance and contrast ratio, and a dark
// desktop palette to render under.
#include <QApplication>
#include <QHash>
#include <QImage>
#include <QPalette>
#include <QRect>

#include <algorithm>
#include <cmath>

inline double RelativeLuminance(QRgb c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

inline double ContrastRatio(QRgb a, QRgb b)
{
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of the text in `area` of a rendering against the pixels behind it: the area's most
// common colour is taken as the background and its strongest ink as the text. An area without
// ink gives 1.
inline double TextContrast(const QImage &img, QRect area)
{
    area &= img.rect();
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[img.pixel(x, y) & 0xFFFFFF];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, ContrastRatio(it.key(), background));
    return best;
}

// A dark desktop palette: light text on dark windows, fields and buttons.
inline QPalette DarkDesktopPalette()
{
    QPalette p;
    const QColor text(0xEE, 0xEE, 0xEE);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Window, QColor(0x35, 0x35, 0x35));
        p.setColor(g, QPalette::WindowText, g == QPalette::Disabled ? QColor(0x80, 0x80, 0x80) : text);
        p.setColor(g, QPalette::Base, QColor(0x23, 0x23, 0x23));
        p.setColor(g, QPalette::AlternateBase, QColor(0x2C, 0x2C, 0x2C));
        p.setColor(g, QPalette::Text, g == QPalette::Disabled ? QColor(0x80, 0x80, 0x80) : text);
        p.setColor(g, QPalette::Button, QColor(0x35, 0x35, 0x35));
        p.setColor(g, QPalette::ButtonText, g == QPalette::Disabled ? QColor(0x80, 0x80, 0x80) : text);
        p.setColor(g, QPalette::Light, QColor(0x50, 0x50, 0x50));
        p.setColor(g, QPalette::Midlight, QColor(0x45, 0x45, 0x45));
        p.setColor(g, QPalette::Mid, QColor(0x2A, 0x2A, 0x2A));
        p.setColor(g, QPalette::Dark, QColor(0x1E, 0x1E, 0x1E));
        p.setColor(g, QPalette::Shadow, QColor(0x10, 0x10, 0x10));
        p.setColor(g, QPalette::Highlight, QColor(0x3D, 0xAE, 0xE9));
        p.setColor(g, QPalette::HighlightedText, QColor(0xFC, 0xFC, 0xFC));
        p.setColor(g, QPalette::ToolTipBase, QColor(0x31, 0x36, 0x3B));
        p.setColor(g, QPalette::ToolTipText, text);
        p.setColor(g, QPalette::BrightText, Qt::white);
        p.setColor(g, QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
    }
    return p;
}

// Sets the application palette for a scope.
class TAppPaletteScope {
public:
    explicit TAppPaletteScope(const QPalette &palette) : FSaved(QApplication::palette())
    {
        QApplication::setPalette(palette);
    }
    ~TAppPaletteScope() { QApplication::setPalette(FSaved); }
    TAppPaletteScope(const TAppPaletteScope &) = delete;
    TAppPaletteScope &operator=(const TAppPaletteScope &) = delete;

private:
    QPalette FSaved;
};
