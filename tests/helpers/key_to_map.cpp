// Times a desktop-wide key: presses a chord through the XTEST extension and waits for the next
// window to be mapped on the root window (an override-redirect one, such as a magnifier), then
// prints the milliseconds between the press and the map, as the X server's clients see them.
//   key_to_map KEYSYM... [-- TIMEOUT_MS]   e.g. key_to_map 0xffeb 0xffe1 0x63 (Super_L Shift_L c)
// Exit 1 when no window was mapped within the timeout (default 5000 ms).
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <vector>

namespace {

xcb_extension_t XTest = {"XTEST", 0};

// XTEST FakeInput: a key press (type 2) or release (3) of a keycode, now.
void FakeKey(xcb_connection_t *c, xcb_window_t root, std::uint8_t type, std::uint8_t keycode)
{
    // The whole request; xcb fills in the major opcode and the length. Its first two parts are
    // xcb's own, as in the code xcb generates.
    std::uint8_t body[36] = {};
    body[1] = 2; // FakeInput
    body[4] = type;
    body[5] = keycode;
    std::memcpy(body + 12, &root, 4);
    struct iovec parts[4];
    parts[2] = {body, sizeof body};
    parts[3] = {nullptr, 0};
    const xcb_protocol_request_t request = {2, &XTest, 2, 1};
    xcb_send_request(c, 0, parts + 2, &request);
}

std::uint8_t KeycodeOf(xcb_connection_t *c, std::uint32_t keysym)
{
    const xcb_setup_t *setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    auto *reply = xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, setup->min_keycode, count), nullptr);
    if (!reply)
        return 0;
    const xcb_keysym_t *syms = xcb_get_keyboard_mapping_keysyms(reply);
    const int n = xcb_get_keyboard_mapping_keysyms_length(reply);
    std::uint8_t code = 0;
    for (int i = 0; i < n && !code; ++i)
        if (syms[i] == keysym)
            code = static_cast<std::uint8_t>(setup->min_keycode + i / reply->keysyms_per_keycode);
    std::free(reply);
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    std::vector<std::uint8_t> keys;
    int timeoutMs = 5000;
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return 2;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0 && i + 1 < argc) {
            timeoutMs = std::atoi(argv[i + 1]);
            break;
        }
        const std::uint8_t code = KeycodeOf(c, static_cast<std::uint32_t>(std::strtoul(argv[i], nullptr, 0)));
        if (!code) {
            std::fprintf(stderr, "no key for %s\n", argv[i]);
            return 2;
        }
        keys.push_back(code);
    }
    const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c, &XTest);
    if (!ext || !ext->present)
        return 2;
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    const auto start = std::chrono::steady_clock::now();
    for (const std::uint8_t k : keys)
        FakeKey(c, screen->root, 2, k);
    for (auto k = keys.rbegin(); k != keys.rend(); ++k)
        FakeKey(c, screen->root, 3, *k);
    xcb_flush(c);

    pollfd fd = {xcb_get_file_descriptor(c), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped) {
                const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                std::printf("%.1f\n", ms);
                return 0;
            }
        }
        const auto spent = std::chrono::steady_clock::now() - start;
        const int left = timeoutMs - static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count());
        if (left <= 0 || poll(&fd, 1, left) <= 0)
            return 1;
    }
}
