#include "desktop/X11Screen.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace X11Screen {

namespace {

xcb_connection_t *Connection()
{
    auto *app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return app ? app->connection() : nullptr;
}

xcb_screen_t *ScreenOf(xcb_connection_t *c, int number)
{
    if (!c || number < 0)
        return nullptr;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; it.rem; ++i, xcb_screen_next(&it))
        if (i == number)
            return it.data;
    return nullptr;
}

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

// One colour channel of a true-colour pixel: where its bits lie and how many there are.
struct Channel {
    uint32_t Mask = 0;
    int Shift = 0;
    uint32_t Max = 0;
    explicit Channel(uint32_t mask = 0) : Mask(mask), Shift(mask ? std::countr_zero(mask) : 0), Max(mask >> Shift) {}
    int Value(uint32_t pixel) const { return Max ? static_cast<int>(((pixel & Mask) >> Shift) * 255 / Max) : 0; }
};

struct PixelFormat {
    bool Usable = false;
    bool LsbFirst = true;
    Channel Red, Green, Blue;
};

PixelFormat FormatOf(xcb_connection_t *c, const xcb_screen_t *screen)
{
    PixelFormat format;
    const xcb_setup_t *setup = xcb_get_setup(c);
    int bitsPerPixel = 0;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == screen->root_depth)
            bitsPerPixel = it.data->bits_per_pixel;
    for (auto d = xcb_screen_allowed_depths_iterator(screen); d.rem; xcb_depth_next(&d))
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
            if (v.data->visual_id == screen->root_visual && v.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR) {
                format.Red = Channel(v.data->red_mask);
                format.Green = Channel(v.data->green_mask);
                format.Blue = Channel(v.data->blue_mask);
                format.Usable = bitsPerPixel == 32 && format.Red.Max && format.Green.Max && format.Blue.Max;
            }
    format.LsbFirst = setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST;
    return format;
}

} // namespace

bool Available()
{
    return Connection() != nullptr;
}

std::optional<TPointer> Pointer()
{
    xcb_connection_t *c = Connection();
    const xcb_screen_t *first = ScreenOf(c, 0);
    if (!first)
        return std::nullopt;
    XcbReply<xcb_query_pointer_reply_t> reply(xcb_query_pointer_reply(c, xcb_query_pointer(c, first->root), nullptr));
    if (!reply)
        return std::nullopt;
    // The reply names the root window of the screen the pointer is on, whichever was asked.
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; it.rem; ++i, xcb_screen_next(&it))
        if (it.data->root == reply->root)
            return TPointer{i, QPoint(reply->root_x, reply->root_y)};
    return std::nullopt;
}

void MovePointer(const TPointer &to)
{
    xcb_connection_t *c = Connection();
    const xcb_screen_t *screen = ScreenOf(c, to.Screen);
    if (!screen)
        return;
    xcb_warp_pointer(c, XCB_NONE, screen->root, 0, 0, 0, 0, static_cast<int16_t>(to.Pos.x()),
                     static_cast<int16_t>(to.Pos.y()));
    xcb_flush(c);
}

QImage Grab(int screenNumber, const QRect &area)
{
    xcb_connection_t *c = Connection();
    const xcb_screen_t *screen = ScreenOf(c, screenNumber);
    if (!screen || area.isEmpty())
        return {};
    // One answer per screen for the program's life: a root window keeps its visual.
    static std::vector<std::optional<PixelFormat>> formats;
    if (formats.size() <= static_cast<size_t>(screenNumber))
        formats.resize(static_cast<size_t>(screenNumber) + 1);
    auto &cached = formats[static_cast<size_t>(screenNumber)];
    if (!cached)
        cached = FormatOf(c, screen);
    const PixelFormat &format = *cached;
    const QRect part = area & QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    if (!format.Usable || part.isEmpty())
        return {};

    XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, static_cast<int16_t>(part.x()),
                      static_cast<int16_t>(part.y()), static_cast<uint16_t>(part.width()),
                      static_cast<uint16_t>(part.height()), ~0u),
        nullptr));
    if (!reply)
        return {};
    const uint8_t *data = xcb_get_image_data(reply.get());
    const int length = xcb_get_image_data_length(reply.get());
    const int stride = part.width() * 4;
    if (length < stride * part.height())
        return {};

    QImage image(area.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    const QPoint at = part.topLeft() - area.topLeft();
    for (int y = 0; y < part.height(); ++y) {
        const uint8_t *src = data + static_cast<ptrdiff_t>(y) * stride;
        auto *dst = reinterpret_cast<QRgb *>(image.scanLine(at.y() + y)) + at.x();
        for (int x = 0; x < part.width(); ++x, src += 4) {
            const uint32_t pixel = format.LsbFirst ? (src[0] | src[1] << 8 | src[2] << 16 | uint32_t(src[3]) << 24)
                                                   : (uint32_t(src[0]) << 24 | src[1] << 16 | src[2] << 8 | src[3]);
            dst[x] = qRgb(format.Red.Value(pixel), format.Green.Value(pixel), format.Blue.Value(pixel));
        }
    }
    return image;
}

std::optional<QByteArray> RootProperty(int screenNumber, const QByteArray &name, qint64 maxBytes, bool *tooLarge)
{
    if (tooLarge)
        *tooLarge = false;
    xcb_connection_t *c = Connection();
    const xcb_screen_t *screen = ScreenOf(c, screenNumber);
    if (!screen)
        return std::nullopt;
    XcbReply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<uint16_t>(name.size()), name.constData()), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return std::nullopt;
    // First only the size, so that a huge property is never transferred.
    XcbReply<xcb_get_property_reply_t> head(xcb_get_property_reply(
        c, xcb_get_property(c, 0, screen->root, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr));
    if (!head || head->type == XCB_ATOM_NONE || head->format != 8)
        return std::nullopt;
    const qint64 size = head->bytes_after;
    if (size > maxBytes) {
        if (tooLarge)
            *tooLarge = true;
        return std::nullopt;
    }
    XcbReply<xcb_get_property_reply_t> whole(xcb_get_property_reply(
        c, xcb_get_property(c, 0, screen->root, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, static_cast<uint32_t>((size + 3) / 4)),
        nullptr));
    if (!whole || whole->format != 8)
        return std::nullopt;
    const int length = xcb_get_property_value_length(whole.get());
    return QByteArray(static_cast<const char *>(xcb_get_property_value(whole.get())), length);
}

} // namespace X11Screen
