#pragma once
#include <cstdint>

struct wl_interface;
struct wl_proxy;
struct wl_registry;
struct wl_seat;

namespace vt::wayland {

// The two clipboard-manager protocols, ext_data_control_v1 and the older
// zwlr_data_control_unstable_v1, have the same requests and events in the same order under other
// names. One reader drives either through this table: requests go out by opcode with the
// interfaces of the protocol the compositor offered, events come in through one listener layout.
struct DataControl {
    const char* managerName;
    const wl_interface* manager;
    const wl_interface* device;
    const wl_interface* source;
    const wl_interface* offer;
    std::uint32_t version;

    // The protocol for a registry global's interface name; null when it is neither.
    static const DataControl* forGlobal(const char* interfaceName);

    wl_proxy* bindManager(wl_registry* registry, std::uint32_t name) const;
    wl_proxy* createSource(wl_proxy* manager) const;
    wl_proxy* getDevice(wl_proxy* manager, wl_seat* seat) const;
    static void destroyManager(wl_proxy* manager);
    static void setSelection(wl_proxy* device, wl_proxy* source);
    static void destroyDevice(wl_proxy* device);
    static void offerType(wl_proxy* source, const char* mimeType);
    static void destroySource(wl_proxy* source);
    static void receive(wl_proxy* offer, const char* mimeType, int fd);
    static void destroyOffer(wl_proxy* offer);
};

// Event layouts shared by both protocols (proxies are passed as wl_proxy).
struct DeviceListener {
    void (*dataOffer)(void* data, wl_proxy* device, wl_proxy* offer);
    void (*selection)(void* data, wl_proxy* device, wl_proxy* offer);
    void (*finished)(void* data, wl_proxy* device);
    void (*primarySelection)(void* data, wl_proxy* device, wl_proxy* offer);
};
struct SourceListener {
    void (*send)(void* data, wl_proxy* source, const char* mimeType, std::int32_t fd);
    void (*cancelled)(void* data, wl_proxy* source);
};
struct OfferListener {
    void (*offer)(void* data, wl_proxy* offer, const char* mimeType);
};

} // namespace vt::wayland
