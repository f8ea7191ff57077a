// A Wayland clipboard owner for tests: offers several MIME types at once (which wl-copy cannot),
// or never answers. Usage: vt_test_wl_owner [--silent | --silent=MIME] MIME=FILE...
// Prints "owned" once it holds the clipboard and exits when another program takes it.
#include "platform/wayland/wlr-data-control-unstable-v1-client.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>
#include <wayland-client.h>

namespace {

struct Owner {
    std::vector<std::pair<std::string, std::string>> offers;
    std::string silent; // "*" for every type
    std::vector<int> held;
    zwlr_data_control_manager_v1* manager = nullptr;
    wl_seat* seat = nullptr;
    bool cancelled = false;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* o = static_cast<Owner*>(data);
    if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
        o->manager = static_cast<zwlr_data_control_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
    else if (!o->seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        o->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
}
void globalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener{global, globalRemove};

void send(void* data, zwlr_data_control_source_v1*, const char* mime, int32_t fd) {
    auto* o = static_cast<Owner*>(data);
    if (o->silent == "*" || o->silent == mime) {
        o->held.push_back(fd); // never written, never closed: the reader has to give up
        return;
    }
    for (const auto& [type, bytes] : o->offers)
        if (type == mime) {
            std::size_t done = 0;
            while (done < bytes.size()) {
                const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
                if (n <= 0) break;
                done += static_cast<std::size_t>(n);
            }
        }
    close(fd);
}
void cancelled(void* data, zwlr_data_control_source_v1*) {
    static_cast<Owner*>(data)->cancelled = true;
}
const zwlr_data_control_source_v1_listener sourceListener{send, cancelled};

} // namespace

int main(int argc, char** argv) {
    Owner o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--silent") {
            o.silent = "*";
        } else if (arg.rfind("--silent=", 0) == 0) {
            o.silent = arg.substr(9);
        } else if (const auto eq = arg.find('='); eq != std::string::npos) {
            std::ifstream in(arg.substr(eq + 1), std::ios::binary);
            std::stringstream bytes;
            bytes << in.rdbuf();
            o.offers.emplace_back(arg.substr(0, eq), bytes.str());
        }
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return 1;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &o);
    wl_display_roundtrip(display);
    if (!o.manager || !o.seat) return 1;
    auto* device = zwlr_data_control_manager_v1_get_data_device(o.manager, o.seat);
    auto* source = zwlr_data_control_manager_v1_create_data_source(o.manager);
    zwlr_data_control_source_v1_add_listener(source, &sourceListener, &o);
    for (const auto& offer : o.offers)
        zwlr_data_control_source_v1_offer(source, offer.first.c_str());
    zwlr_data_control_device_v1_set_selection(device, source);
    wl_display_roundtrip(display);
    std::printf("owned\n");
    std::fflush(stdout);
    while (!o.cancelled && wl_display_dispatch(display) >= 0) {
    }
    wl_display_disconnect(display);
    return 0;
}
