// Sets a property of the X root window from a file's bytes (type CARDINAL, 8-bit), as a colour
// management daemon sets a monitor's profile, for the eyedropper's real-window checks:
//   root_property NAME FILE     sets NAME to the file's bytes (an empty file: an empty property)
//   root_property NAME -        deletes NAME
// On the display of $DISPLAY (its screen number chooses the root window).
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: root_property NAME FILE|-\n");
        return 2;
    }
    int screenNumber = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "root_property: no X display\n");
        return 1;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;

    xcb_intern_atom_reply_t *atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(argv[1])), argv[1]), nullptr);
    if (!atom)
        return 1;
    if (std::strcmp(argv[2], "-") == 0) {
        xcb_delete_property(c, root, atom->atom);
    } else {
        std::ifstream file(argv[2], std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "root_property: cannot read %s\n", argv[2]);
            return 1;
        }
        const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        xcb_void_cookie_t done = xcb_change_property_checked(c, XCB_PROP_MODE_REPLACE, root, atom->atom, XCB_ATOM_CARDINAL,
                                                             8, static_cast<uint32_t>(bytes.size()), bytes.data());
        if (xcb_generic_error_t *error = xcb_request_check(c, done)) {
            std::fprintf(stderr, "root_property: the server refused (error %d)\n", error->error_code);
            std::free(error);
            return 1;
        }
    }
    std::free(atom);
    xcb_flush(c);
    xcb_disconnect(c);
    return 0;
}
