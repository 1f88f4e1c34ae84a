// Drags with a virtual pointer on a wlroots compositor (a headless seat has no pointer of its own):
//   ostrel_virtual_pointer WIDTH HEIGHT X Y DX DY
// puts the pointer at X,Y of the WIDTH × HEIGHT layout (points), presses the first button, moves
// by DX,DY in ten steps and releases it. Status 0 once the compositor has had it all.
#include <linux/input-event-codes.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstdlib>
#include <cstring>

#include "virtual-pointer-unstable-v1-client-protocol.h"

namespace {

struct Globals {
  wl_seat* seat = nullptr;
  zwlr_virtual_pointer_manager_v1* pointers = nullptr;
};

void onGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
  auto* g = static_cast<Globals*>(data);
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && g->seat == nullptr) {
    g->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
    g->pointers = static_cast<zwlr_virtual_pointer_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7) return 2;
  uint32_t a[6];
  for (int i = 0; i < 6; ++i) a[i] = static_cast<uint32_t>(std::atoi(argv[i + 1]));
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) return 1;
  Globals g;
  const wl_registry_listener listener{onGlobal, [](void*, wl_registry*, uint32_t) {}};
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &listener, &g);
  wl_display_roundtrip(display);
  bool ok = g.seat != nullptr && g.pointers != nullptr;
  if (ok) {
    zwlr_virtual_pointer_v1* p = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(g.pointers, g.seat);
    uint32_t time = 1;
    const auto send = [&] {  // one event at a time, as a hand moves
      zwlr_virtual_pointer_v1_frame(p);
      ok = ok && wl_display_roundtrip(display) >= 0;
      ::usleep(50'000);
    };
    zwlr_virtual_pointer_v1_motion_absolute(p, time++, a[2], a[3], a[0], a[1]);
    send();
    zwlr_virtual_pointer_v1_button(p, time++, BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
    send();
    for (int i = 0; i < 10; ++i) {
      zwlr_virtual_pointer_v1_motion(p, time++, wl_fixed_from_double(std::atoi(argv[5]) / 10.0),
                                     wl_fixed_from_double(std::atoi(argv[6]) / 10.0));
      send();
    }
    zwlr_virtual_pointer_v1_button(p, time++, BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
    send();
    zwlr_virtual_pointer_v1_destroy(p);
  }
  // Every proxy is let go before the connection ends (the sanitizers' leak check runs this too).
  if (g.pointers != nullptr) zwlr_virtual_pointer_manager_v1_destroy(g.pointers);
  if (g.seat != nullptr) wl_seat_destroy(g.seat);
  wl_registry_destroy(registry);
  wl_display_roundtrip(display);
  wl_display_disconnect(display);
  return ok ? 0 : 1;
}
