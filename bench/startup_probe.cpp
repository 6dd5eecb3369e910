// Starts a program under the current X display and reports, in one line, the milliseconds from
// the fork to the map of its first top-level window and its peak resident memory (KiB) once that
// window is up; then ends the program. It waits for the MapNotify event on the root window
// rather than polling.
//   startup_probe <program> [args...]   ->   "<ms> <peak KiB>"
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long PeakResidentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_probe <program> [args...]\n");
        return 2;
    }
    xcb_connection_t *conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(conn)) {
        std::fprintf(stderr, "startup_probe: no X display\n");
        return 2;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(conn, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(conn);

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }
    double ms = -1;
    pollfd pfd{xcb_get_file_descriptor(conn), POLLIN, 0};
    int status = 0;
    while (ms < 0) {
        while (xcb_generic_event_t *ev = xcb_poll_for_event(conn)) {
            const bool mapped = (ev->response_type & 0x7F) == XCB_MAP_NOTIFY;
            std::free(ev);
            if (mapped && ms < 0)
                ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        }
        if (ms >= 0)
            break;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "startup_probe: %s ended before mapping a window (status %d)\n", argv[1], status);
            return 1;
        }
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(30)) {
            std::fprintf(stderr, "startup_probe: no window within 30 s\n");
            kill(pid, SIGKILL);
            return 1;
        }
        poll(&pfd, 1, 50);
    }
    // Let the first paint finish before reading the peak.
    usleep(200 * 1000);
    const long peak = PeakResidentKiB(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(conn);
    std::printf("%.1f %ld\n", ms, peak);
    return ms < 0 ? 1 : 0;
}
