#include "platform/wayland/data_control.h"

#include "platform/wayland/ext-data-control-v1-client.h"
#include "platform/wayland/wlr-data-control-unstable-v1-client.h"

#include <cstring>
#include <wayland-client.h>

namespace vt::wayland {

namespace {

// The table relies on both protocols numbering their requests and events alike.
static_assert(EXT_DATA_CONTROL_MANAGER_V1_CREATE_DATA_SOURCE ==
              ZWLR_DATA_CONTROL_MANAGER_V1_CREATE_DATA_SOURCE);
static_assert(EXT_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE ==
              ZWLR_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE);
static_assert(EXT_DATA_CONTROL_MANAGER_V1_DESTROY == ZWLR_DATA_CONTROL_MANAGER_V1_DESTROY);
static_assert(EXT_DATA_CONTROL_DEVICE_V1_SET_SELECTION ==
              ZWLR_DATA_CONTROL_DEVICE_V1_SET_SELECTION);
static_assert(EXT_DATA_CONTROL_DEVICE_V1_DESTROY == ZWLR_DATA_CONTROL_DEVICE_V1_DESTROY);
static_assert(EXT_DATA_CONTROL_SOURCE_V1_OFFER == ZWLR_DATA_CONTROL_SOURCE_V1_OFFER);
static_assert(EXT_DATA_CONTROL_SOURCE_V1_DESTROY == ZWLR_DATA_CONTROL_SOURCE_V1_DESTROY);
static_assert(EXT_DATA_CONTROL_OFFER_V1_RECEIVE == ZWLR_DATA_CONTROL_OFFER_V1_RECEIVE);
static_assert(EXT_DATA_CONTROL_OFFER_V1_DESTROY == ZWLR_DATA_CONTROL_OFFER_V1_DESTROY);
static_assert(sizeof(DeviceListener) == sizeof(ext_data_control_device_v1_listener));
static_assert(sizeof(DeviceListener) == sizeof(zwlr_data_control_device_v1_listener));
static_assert(sizeof(SourceListener) == sizeof(zwlr_data_control_source_v1_listener));
static_assert(sizeof(OfferListener) == sizeof(zwlr_data_control_offer_v1_listener));

// The ext protocol is the standard one; the wlr one is what older compositors (Sway 1.7,
// Plasma 5) offer. Version 1 of the wlr device sends no primary-selection events.
const DataControl kExt{
    "ext_data_control_manager_v1",         &ext_data_control_manager_v1_interface,
    &ext_data_control_device_v1_interface, &ext_data_control_source_v1_interface,
    &ext_data_control_offer_v1_interface,  1};
const DataControl kWlr{
    "zwlr_data_control_manager_v1",         &zwlr_data_control_manager_v1_interface,
    &zwlr_data_control_device_v1_interface, &zwlr_data_control_source_v1_interface,
    &zwlr_data_control_offer_v1_interface,  1};

std::uint32_t versionOf(wl_proxy* proxy) {
    return wl_proxy_get_version(proxy);
}

} // namespace

const DataControl* DataControl::forGlobal(const char* interfaceName) {
    if (std::strcmp(interfaceName, kExt.managerName) == 0) return &kExt;
    if (std::strcmp(interfaceName, kWlr.managerName) == 0) return &kWlr;
    return nullptr;
}

wl_proxy* DataControl::bindManager(wl_registry* registry, std::uint32_t name) const {
    return static_cast<wl_proxy*>(wl_registry_bind(registry, name, manager, version));
}

wl_proxy* DataControl::createSource(wl_proxy* m) const {
    return wl_proxy_marshal_flags(m, ZWLR_DATA_CONTROL_MANAGER_V1_CREATE_DATA_SOURCE, source,
                                  versionOf(m), 0, nullptr);
}

wl_proxy* DataControl::getDevice(wl_proxy* m, wl_seat* seat) const {
    return wl_proxy_marshal_flags(m, ZWLR_DATA_CONTROL_MANAGER_V1_GET_DATA_DEVICE, device,
                                  versionOf(m), 0, nullptr, seat);
}

void DataControl::destroyManager(wl_proxy* m) {
    wl_proxy_marshal_flags(m, ZWLR_DATA_CONTROL_MANAGER_V1_DESTROY, nullptr, versionOf(m),
                           WL_MARSHAL_FLAG_DESTROY);
}

void DataControl::setSelection(wl_proxy* d, wl_proxy* s) {
    wl_proxy_marshal_flags(d, ZWLR_DATA_CONTROL_DEVICE_V1_SET_SELECTION, nullptr, versionOf(d), 0,
                           s);
}

void DataControl::destroyDevice(wl_proxy* d) {
    wl_proxy_marshal_flags(d, ZWLR_DATA_CONTROL_DEVICE_V1_DESTROY, nullptr, versionOf(d),
                           WL_MARSHAL_FLAG_DESTROY);
}

void DataControl::offerType(wl_proxy* s, const char* mimeType) {
    wl_proxy_marshal_flags(s, ZWLR_DATA_CONTROL_SOURCE_V1_OFFER, nullptr, versionOf(s), 0,
                           mimeType);
}

void DataControl::destroySource(wl_proxy* s) {
    wl_proxy_marshal_flags(s, ZWLR_DATA_CONTROL_SOURCE_V1_DESTROY, nullptr, versionOf(s),
                           WL_MARSHAL_FLAG_DESTROY);
}

void DataControl::receive(wl_proxy* o, const char* mimeType, int fd) {
    wl_proxy_marshal_flags(o, ZWLR_DATA_CONTROL_OFFER_V1_RECEIVE, nullptr, versionOf(o), 0,
                           mimeType, fd);
}

void DataControl::destroyOffer(wl_proxy* o) {
    wl_proxy_marshal_flags(o, ZWLR_DATA_CONTROL_OFFER_V1_DESTROY, nullptr, versionOf(o),
                           WL_MARSHAL_FLAG_DESTROY);
}

} // namespace vt::wayland
