#include "desktop/X11KeyGrab.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {

xcb_connection_t *Connection()
{
    auto *app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return app ? app->connection() : nullptr;
}

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

constexpr std::uint32_t KeysymNumLock = 0xff7f;
constexpr std::uint32_t KeysymSuperL = 0xffeb, KeysymSuperR = 0xffec;
constexpr std::uint32_t KeysymAltL = 0xffe9, KeysymAltR = 0xffea;
constexpr std::uint8_t BadAccess = 10;

// The keyboard's keycodes for each keysym, and which modifier bits the keys of a keysym set.
class TKeymap {
public:
    explicit TKeymap(xcb_connection_t *c)
    {
        const xcb_setup_t *setup = xcb_get_setup(c);
        FMin = setup->min_keycode;
        const int count = setup->max_keycode - setup->min_keycode + 1;
        FKeys.reset(xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, FMin, count), nullptr));
        FMods.reset(xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr));
    }
    // The first keycode whose symbols hold the keysym (its unshifted one first); 0 for none.
    std::uint8_t Keycode(std::uint32_t keysym) const
    {
        if (!FKeys)
            return 0;
        const int per = FKeys->keysyms_per_keycode;
        const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(FKeys.get());
        const int n = xcb_get_keyboard_mapping_keysyms_length(FKeys.get());
        for (int column = 0; column < per; ++column)
            for (int i = column; i < n; i += per)
                if (syms[i] == keysym)
                    return static_cast<std::uint8_t>(FMin + i / per);
        return 0;
    }
    // The modifier bit of the keys that produce the keysym; 0 for none.
    std::uint16_t ModifierOf(std::uint32_t keysym) const
    {
        const std::uint8_t code = Keycode(keysym);
        if (!FMods || !code)
            return 0;
        const int per = FMods->keycodes_per_modifier;
        const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(FMods.get());
        for (int mod = 0; mod < 8; ++mod)
            for (int i = 0; i < per; ++i)
                if (codes[mod * per + i] == code)
                    return static_cast<std::uint16_t>(1u << mod);
        return 0;
    }

private:
    int FMin = 0;
    XcbReply<xcb_get_keyboard_mapping_reply_t> FKeys;
    XcbReply<xcb_get_modifier_mapping_reply_t> FMods;
};

// The chord's modifiers as this keyboard sets them: Super and Alt on whichever of Mod1 to Mod5
// their keys are (Mod4 and Mod1 on almost every keyboard).
std::uint16_t ServerModifiers(const TKeymap &map, std::uint16_t chord)
{
    std::uint16_t mods = chord & (XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL);
    const auto bit = [&map](std::uint32_t left, std::uint32_t right, std::uint16_t usual) -> std::uint16_t {
        if (const std::uint16_t m = map.ModifierOf(left))
            return m;
        if (const std::uint16_t m = map.ModifierOf(right))
            return m;
        return usual;
    };
    if (chord & XCB_MOD_MASK_4)
        mods |= bit(KeysymSuperL, KeysymSuperR, XCB_MOD_MASK_4);
    if (chord & XCB_MOD_MASK_1)
        mods |= bit(KeysymAltL, KeysymAltR, XCB_MOD_MASK_1);
    return mods;
}

} // namespace

TX11KeyGrab::TX11KeyGrab(QObject *parent) : QObject(parent) {}

TX11KeyGrab::~TX11KeyGrab()
{
    Release();
}

TX11KeyGrab::TResult TX11KeyGrab::Grab(const TX11Chord &chord)
{
    Release();
    xcb_connection_t *c = Connection();
    if (!c)
        return TResult::Unusable;
    const TKeymap map(c);
    const std::uint8_t keycode = map.Keycode(chord.Keysym);
    if (!keycode)
        return TResult::Unusable;
    const std::uint16_t mods = ServerModifiers(map, chord.Modifiers);
    const std::uint16_t numLock = map.ModifierOf(KeysymNumLock);
    const std::uint16_t ignored[] = {0, XCB_MOD_MASK_LOCK, numLock, static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLock)};

    bool taken = false;
    for (auto roots = xcb_setup_roots_iterator(xcb_get_setup(c)); roots.rem && !taken; xcb_screen_next(&roots)) {
        for (const std::uint16_t extra : ignored) {
            const std::uint16_t m = mods | extra;
            bool already = false;
            for (const TGrabbed &g : FGrabs)
                already = already || (g.Root == roots.data->root && g.Modifiers == m);
            if (already)
                continue;
            const xcb_void_cookie_t cookie = xcb_grab_key_checked(c, 1, roots.data->root, m, keycode,
                                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            XcbReply<xcb_generic_error_t> error(xcb_request_check(c, cookie));
            if (error) {
                taken = error->error_code == BadAccess;
                if (taken)
                    break;
                continue;
            }
            FGrabs.push_back({roots.data->root, keycode, m});
        }
    }
    if (taken || FGrabs.empty()) {
        Release();
        return taken ? TResult::Taken : TResult::Unusable;
    }
    FKeycode = keycode;
    FModifiers = mods;
    FIgnored = static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLock);
    if (!FFiltering) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        FFiltering = true;
    }
    return TResult::Grabbed;
}

void TX11KeyGrab::Release()
{
    xcb_connection_t *c = Connection();
    if (c) {
        for (const TGrabbed &g : FGrabs)
            xcb_ungrab_key(c, g.Keycode, g.Root, g.Modifiers);
        xcb_flush(c);
    }
    FGrabs.clear();
    FKeycode = 0;
    if (FFiltering && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    FFiltering = false;
}

bool TX11KeyGrab::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (!FKeycode || eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    const auto *press = static_cast<const xcb_key_press_event_t *>(message);
    if (press->detail != FKeycode || (press->state & ~FIgnored & 0xff) != FModifiers)
        return false;
    bool ours = false;
    for (const TGrabbed &g : FGrabs)
        ours = ours || g.Root == press->event;
    if (!ours)
        return false;
    emit Pressed();
    return true;
}
