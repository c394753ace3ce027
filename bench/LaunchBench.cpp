// launch-bench: what a person waits for when they start Notarium with a document, measured from
// outside the process, as the display server sees it.
//
//   launch-bench [--runs N] PROGRAM FILE
//
// Run inside an X display of its own (scripts/launch-bench.sh starts Xvfb, and openbox where it is
// installed). With no window manager on the display, the bench is one, a minimal one that maps and
// places the windows as they ask. Each run starts PROGRAM FILE with a
// fresh configuration and records, from the moment of the start:
//   first window   the first top-level window of the process is mapped;
//   title          its title holds the file's name;
//   painted        the window's image is no longer of one colour, it holds the title, and it has
//                  answered a _NET_WM_PING sent after that;
// and, while it opens, the longest a ping waited for its answer (the window did not answer for
// that long), and the process's peak memory (VmHWM). The best and the median of the runs are
// printed. Pings go every 10 ms.
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Run {
    double firstWindow = -1;
    double title = -1;
    double painted = -1;
    double longestUnanswered = 0;
    long peakKb = 0;
};

class Display {
public:
    Display()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection) != 0) {
            std::fprintf(stderr, "launch-bench: no X display\n");
            std::exit(2);
        }
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        // The window manager's place: map requests, and the answers to pings, come here. When a
        // window manager already runs, the bench only watches: the answers to pings are sent to
        // the root window for substructure notification as well, and the managed windows are
        // listed in the manager's _NET_CLIENT_LIST.
        uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
        xcb_generic_error_t* error = xcb_request_check(
            m_connection, xcb_change_window_attributes_checked(m_connection, m_root, XCB_CW_EVENT_MASK, &mask));
        if (error != nullptr) {
            std::free(error);
            m_managing = false;
            mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
            xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        }
        m_pid = atom("_NET_WM_PID");
        m_name = atom("_NET_WM_NAME");
        m_utf8 = atom("UTF8_STRING");
        m_protocols = atom("WM_PROTOCOLS");
        m_ping = atom("_NET_WM_PING");
        m_clientList = atom("_NET_CLIENT_LIST");
        xcb_flush(m_connection);
    }

    // True when the bench is the display's window manager, false when it watches another one.
    bool isManaging() const { return m_managing; }
    ~Display() { xcb_disconnect(m_connection); }

    xcb_atom_t atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t result = reply != nullptr ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return result;
    }

    std::vector<uint8_t> property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type)
    {
        std::vector<uint8_t> bytes;
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, name, type, 0, 1 << 16), nullptr);
        if (reply != nullptr) {
            const auto* data = static_cast<const uint8_t*>(xcb_get_property_value(reply));
            const int length = xcb_get_property_value_length(reply);
            bytes.assign(data, data + std::max(length, 0));
            std::free(reply);
        }
        return bytes;
    }

    // The top-level windows of the process that have been mapped.
    std::vector<xcb_window_t> windowsOf(pid_t pid)
    {
        std::vector<xcb_window_t> found;
        std::vector<xcb_window_t> candidates = m_mapped;
        if (!m_managing) {
            const std::vector<uint8_t> list = property(m_root, m_clientList, XCB_ATOM_WINDOW);
            candidates.resize(list.size() / 4);
            std::memcpy(candidates.data(), list.data(), candidates.size() * 4);
        }
        for (const xcb_window_t window : candidates) {
            const std::vector<uint8_t> owner = property(window, m_pid, XCB_ATOM_CARDINAL);
            uint32_t value = 0;
            if (owner.size() >= 4)
                std::memcpy(&value, owner.data(), 4);
            if (static_cast<pid_t>(value) == pid)
                found.push_back(window);
        }
        return found;
    }

    std::string title(xcb_window_t window)
    {
        const std::vector<uint8_t> name = property(window, m_name, m_utf8);
        return std::string(name.begin(), name.end());
    }

    bool isViewable(xcb_window_t window)
    {
        xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
        const bool viewable = reply != nullptr && reply->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(reply);
        return viewable;
    }

    // The window's image holds more than one colour (something was drawn into it).
    bool isPainted(xcb_window_t window)
    {
        xcb_get_geometry_reply_t* geometry
            = xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr);
        if (geometry == nullptr)
            return false;
        const uint16_t width = geometry->width;
        const uint16_t height = geometry->height;
        std::free(geometry);
        xcb_get_image_reply_t* image = xcb_get_image_reply(m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, width, height, ~0u), nullptr);
        if (image == nullptr)
            return false;
        const auto* data = reinterpret_cast<const uint32_t*>(xcb_get_image_data(image));
        const int pixels = xcb_get_image_data_length(image) / 4;
        bool varied = false;
        for (int i = 1; i < pixels && !varied; ++i)
            varied = (data[i] & 0xFFFFFF) != (data[0] & 0xFFFFFF);
        std::free(image);
        return varied;
    }

    void ping(xcb_window_t window, uint32_t stamp)
    {
        xcb_client_message_event_t event {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = m_protocols;
        event.data.data32[0] = m_ping;
        event.data.data32[1] = stamp;
        event.data.data32[2] = window;
        xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
        xcb_flush(m_connection);
    }

    // Handles what came as the window manager, and gives the stamps of the ping answers.
    std::vector<uint32_t> answers()
    {
        std::vector<uint32_t> stamps;
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            const uint8_t type = event->response_type & 0x7F;
            if (type == XCB_MAP_REQUEST) {
                const auto* request = reinterpret_cast<const xcb_map_request_event_t*>(event);
                xcb_map_window(m_connection, request->window);
                m_mapped.push_back(request->window);
                xcb_flush(m_connection);
            } else if (type == XCB_CONFIGURE_REQUEST) {
                const auto* request = reinterpret_cast<const xcb_configure_request_event_t*>(event);
                std::vector<uint32_t> values;
                const uint16_t mask = request->value_mask
                    & (XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT);
                if (mask & XCB_CONFIG_WINDOW_X)
                    values.push_back(static_cast<uint32_t>(request->x));
                if (mask & XCB_CONFIG_WINDOW_Y)
                    values.push_back(static_cast<uint32_t>(request->y));
                if (mask & XCB_CONFIG_WINDOW_WIDTH)
                    values.push_back(request->width);
                if (mask & XCB_CONFIG_WINDOW_HEIGHT)
                    values.push_back(request->height);
                xcb_configure_window(m_connection, request->window, mask, values.data());
                xcb_flush(m_connection);
            } else if (type == XCB_CLIENT_MESSAGE) {
                const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
                if (message->type == m_protocols && message->data.data32[0] == m_ping)
                    stamps.push_back(message->data.data32[1]);
            }
            std::free(event);
        }
        return stamps;
    }

private:
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    bool m_managing = true;
    std::vector<xcb_window_t> m_mapped;
    xcb_atom_t m_pid = 0, m_name = 0, m_utf8 = 0, m_protocols = 0, m_ping = 0, m_clientList = 0;
};

long peakMemoryKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

Run launchOnce(Display& display, const std::string& program, const std::string& file, const std::string& home)
{
    Run run;
    const std::string name = file.substr(file.find_last_of('/') + 1);
    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
        ::setenv("XDG_STATE_HOME", (home + "/state").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        ::execl(program.c_str(), program.c_str(), file.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    xcb_window_t window = 0;
    std::map<uint32_t, double> pending; // ping stamp -> when it was sent
    uint32_t stamp = 1;
    double answeredAfterTitle = -1;
    double lastPing = -1000;
    while (msSince(start) < 30000) {
        const double now = msSince(start);
        std::vector<uint32_t> answered = display.answers();
        if (window == 0) {
            for (xcb_window_t candidate : display.windowsOf(pid))
                if (display.isViewable(candidate)) {
                    window = candidate;
                    run.firstWindow = now;
                    break;
                }
        }
        if (window != 0) {
            if (run.title < 0 && display.title(window).find(name) != std::string::npos)
                run.title = now;
            for (const uint32_t stampAnswered : answered) {
                const auto sent = pending.find(stampAnswered);
                if (sent == pending.end())
                    continue;
                run.longestUnanswered = std::max(run.longestUnanswered, now - sent->second);
                // An answer to a ping sent once the title was there.
                if (run.title >= 0 && sent->second >= run.title && answeredAfterTitle < 0)
                    answeredAfterTitle = now;
                pending.erase(sent);
            }
            for (const auto& [waiting, sentAt] : pending)
                run.longestUnanswered = std::max(run.longestUnanswered, now - sentAt);
            if (display.isManaging() && pending.empty() && now - lastPing >= 10) {
                pending[stamp] = now;
                display.ping(window, stamp++);
                lastPing = now;
            }
            // Under another window manager the answers go to that manager alone, so painted
            // stands there for painted with the title.
            const bool answering = display.isManaging() ? answeredAfterTitle >= 0 : run.title >= 0;
            if (answering && run.painted < 0 && display.isPainted(window))
                run.painted = msSince(start);
            if (run.painted >= 0)
                break;
        }
        ::usleep(1000);
    }
    // The longest unanswered wait keeps growing in the window while it reads; the last figure
    // comes from the process's memory at the end.
    run.peakKb = peakMemoryKb(pid);
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 5;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else
            positional.emplace_back(argv[i]);
    }
    if (positional.size() != 2) {
        std::fprintf(stderr, "usage: launch-bench [--runs N] PROGRAM FILE\n");
        return 2;
    }
    char folder[] = "/tmp/launch-bench-XXXXXX";
    if (::mkdtemp(folder) == nullptr)
        return 2;
    Display display;
    std::printf("%s\n", display.isManaging() ? "window manager: launch-bench's own"
                                             : "window manager: the display's own (launch-bench watches; pings not seen)");
    // One start first, so that every measured run finds the program and the file in the cache.
    launchOnce(display, positional[0], positional[1], folder);
    std::vector<Run> measured;
    for (int i = 0; i < runs; ++i)
        measured.push_back(launchOnce(display, positional[0], positional[1], folder));

    auto column = [&](double Run::*field) {
        std::vector<double> values;
        for (const Run& run : measured)
            values.push_back(run.*field);
        return values;
    };
    const auto report = [&](const char* label, double Run::*field) {
        const std::vector<double> values = column(field);
        const bool missed = std::any_of(values.begin(), values.end(), [](double v) { return v < 0; });
        std::printf("%-40s best %7.1f ms   median %7.1f ms%s\n", label, *std::min_element(values.begin(), values.end()),
            median(values), missed ? "   (some runs never got there)" : "");
    };
    report("first window mapped", &Run::firstWindow);
    report("title with the file name", &Run::title);
    if (display.isManaging()) {
        report("painted and answering", &Run::painted);
        report("longest unanswered ping while opening", &Run::longestUnanswered);
    } else {
        // The X server gives the answers to a ping to the client that redirects the root
        // window's substructure, the window manager, and to no one else.
        report("painted (answers not seen)", &Run::painted);
    }
    long peak = 0;
    for (const Run& run : measured)
        peak = std::max(peak, run.peakKb);
    struct stat file {};
    const double bytes = ::stat(positional[1].c_str(), &file) == 0 ? static_cast<double>(file.st_size) : 0;
    std::printf("%-40s %7.1f MB (largest of the runs; MB = 1,000,000 bytes)", "peak memory (VmHWM)",
        static_cast<double>(peak) * 1024.0 / 1e6);
    if (bytes >= 1e6)
        std::printf(", %.2f x the file", static_cast<double>(peak) * 1024.0 / bytes);
    std::printf("\n");
    std::string remove = std::string("rm -rf '") + folder + "'";
    return std::system(remove.c_str()) == 0 ? 0 : 1;
}
