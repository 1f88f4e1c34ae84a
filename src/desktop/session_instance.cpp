#include "desktop/session_instance.hpp"

#include <gio/gio.h>

#include <utility>

namespace ostrel::desktop {

namespace {

constexpr const char* kName = "app.ostrel.Widgets";
constexpr const char* kPath = "/app/ostrel/Widgets";
constexpr const char* kInterface = "app.ostrel.Widgets.Host";
constexpr const char* kRefused = "app.ostrel.Widgets.Error.Refused";
constexpr const char* kIntrospection = R"xml(<node>
  <interface name="app.ostrel.Widgets.Host">
    <method name="Show">
      <arg name="options" type="as" direction="in"/>
      <arg name="changed" type="b" direction="out"/>
    </method>
    <method name="Quit"/>
    <method name="Faces">
      <arg name="faces" type="a(sss)" direction="out"/>
    </method>
  </interface>
</node>)xml";

/// How long a start waits for the bus or the running host to answer.
constexpr guint kAnswerMs = 15'000;

/// Iterates the thread-default main context until `done` is set or `ms` have passed; whether it was
/// set.
bool await(const bool& done, guint ms = kAnswerMs) {
  bool late = false;
  GMainContext* context = g_main_context_ref_thread_default();
  GSource* timer = g_timeout_source_new(ms);
  g_source_set_callback(
      timer,
      +[](gpointer flag) -> gboolean {
        *static_cast<bool*>(flag) = true;
        return G_SOURCE_REMOVE;
      },
      &late, nullptr);
  g_source_attach(timer, context);
  while (!done && !late) g_main_context_iteration(context, TRUE);
  g_source_destroy(timer);
  g_source_unref(timer);
  g_main_context_unref(context);
  return done;
}

/// The message of `error` without the D-Bus error name GDBus puts before a remote one; frees it.
std::string take(GError* error) {
  if (error == nullptr) return "no answer";
  g_dbus_error_strip_remote_error(error);
  std::string message = error->message;
  g_error_free(error);
  return message;
}

/// A method call's reply, waited for.
struct Reply {
  GVariant* value = nullptr;
  GError* error = nullptr;
  bool done = false;

  static void finish(GObject* bus, GAsyncResult* result, gpointer self) {
    auto* r = static_cast<Reply*>(self);
    r->value = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &r->error);
    r->done = true;
  }
};

}  // namespace

struct SessionInstance::State {
  GDBusConnection* bus = nullptr;
  GDBusNodeInfo* node = nullptr;
  GCancellable* cancellable = g_cancellable_new();
  guint registration = 0, owner = 0;
  gulong closedHandler = 0;
  enum class Claim { none, pending, owned, taken } claim = Claim::none;
  bool answered = false;  ///< the bus has said whether the name is ours
  bool ended = false;
  InstanceHandlers handlers;

  explicit State(GDBusConnection* connection) : bus(connection) {}
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  ~State() {
    g_cancellable_cancel(cancellable);
    g_object_unref(cancellable);
    if (closedHandler != 0) g_signal_handler_disconnect(bus, closedHandler);
    if (registration != 0) g_dbus_connection_unregister_object(bus, registration);
    // A name taken over is not released again: GLib would ask the bus for it (and warn).
    if (owner != 0 && !ended) g_bus_unown_name(owner);
    // The last replies (to Quit) and the name's release leave before the process does.
    if (!g_dbus_connection_is_closed(bus)) g_dbus_connection_flush_sync(bus, nullptr, nullptr);
    if (node != nullptr) g_dbus_node_info_unref(node);
    g_object_unref(bus);
  }

  void end(InstanceEnd how) {
    if (ended || claim != Claim::owned) return;
    ended = true;
    if (handlers.ended) handlers.ended(how);
  }

  static void onCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                     GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
    State& s = *static_cast<State*>(self);
    if (g_strcmp0(method, "Quit") == 0) {
      g_dbus_method_invocation_return_value(invocation, nullptr);
      if (s.handlers.quit) s.handlers.quit();
      return;
    }
    if (g_strcmp0(method, "Faces") == 0) {
      GVariantBuilder faces;
      g_variant_builder_init(&faces, G_VARIANT_TYPE("a(sss)"));
      for (const InstanceFace& f : s.handlers.faces ? s.handlers.faces() : std::vector<InstanceFace>{}) {
        g_variant_builder_add(&faces, "(sss)", f.kind.c_str(), f.family.c_str(), f.reading.c_str());
      }
      g_dbus_method_invocation_return_value(invocation, g_variant_new("(a(sss))", &faces));
      return;
    }
    std::vector<std::string> options;
    GVariantIter* words = nullptr;
    g_variant_get(parameters, "(as)", &words);
    const gchar* word = nullptr;
    while (g_variant_iter_next(words, "&s", &word)) options.emplace_back(word);
    g_variant_iter_free(words);
    const Result<bool, InstanceError> shown =
        s.handlers.show ? s.handlers.show(options) : Result<bool, InstanceError>(false);
    if (shown) {
      g_dbus_method_invocation_return_value(invocation, g_variant_new("(b)", *shown ? TRUE : FALSE));
    } else {
      g_dbus_method_invocation_return_dbus_error(invocation, kRefused, shown.error().message.c_str());
    }
  }

  static void onAcquired(GDBusConnection*, const gchar*, gpointer self) {
    State& s = *static_cast<State*>(self);
    s.claim = Claim::owned;
    s.answered = true;
  }

  static void onLost(GDBusConnection* connection, const gchar*, gpointer self) {
    State& s = *static_cast<State*>(self);
    if (s.claim == Claim::pending) {
      s.claim = Claim::taken;
      s.answered = true;
      return;
    }
    s.end(connection == nullptr || g_dbus_connection_is_closed(connection) ? InstanceEnd::busLost
                                                                           : InstanceEnd::replaced);
  }

  static void onClosed(GDBusConnection*, gboolean, GError*, gpointer self) {
    static_cast<State*>(self)->end(InstanceEnd::busLost);
  }
};

Result<std::unique_ptr<SessionInstance>, InstanceError> SessionInstance::connect() {
  // On the heap: when the bus never answers, the answer may still come after this returns.
  struct Connecting {
    GDBusConnection* bus = nullptr;
    GError* error = nullptr;
    bool done = false, abandoned = false;
  };
  auto* got = new Connecting;
  g_bus_get(
      G_BUS_TYPE_SESSION, nullptr,
      +[](GObject*, GAsyncResult* result, gpointer self) {
        auto* c = static_cast<Connecting*>(self);
        c->bus = g_bus_get_finish(result, &c->error);
        c->done = true;
        if (!c->abandoned) return;
        if (c->bus != nullptr) g_object_unref(c->bus);
        if (c->error != nullptr) g_error_free(c->error);
        delete c;
      },
      got);
  if (!await(got->done)) {
    got->abandoned = true;
    return InstanceError{"cannot reach the session bus: it does not answer"};
  }
  const std::unique_ptr<Connecting> answer(got);
  GDBusConnection* bus = answer->bus;
  if (bus == nullptr) return InstanceError{"cannot reach the session bus: " + take(answer->error)};
  // The bus going away is reported by the host, not answered by SIGTERM (GLib's default).
  g_dbus_connection_set_exit_on_close(bus, FALSE);
  return std::unique_ptr<SessionInstance>(new SessionInstance(std::make_unique<State>(bus)));
}

SessionInstance::SessionInstance(std::unique_ptr<State> state) : state_(std::move(state)) {}

SessionInstance::~SessionInstance() = default;

bool SessionInstance::claim(bool replace, InstanceHandlers handlers) {
  State& s = *state_;
  s.handlers = std::move(handlers);
  if (s.node == nullptr) s.node = g_dbus_node_info_new_for_xml(kIntrospection, nullptr);
  static const GDBusInterfaceVTable vtable{
      .method_call = State::onCall, .get_property = nullptr, .set_property = nullptr, .padding = {}};
  s.registration =
      g_dbus_connection_register_object(s.bus, kPath, s.node->interfaces[0], &vtable, &s, nullptr, nullptr);
  s.claim = State::Claim::pending;
  const auto flags = static_cast<GBusNameOwnerFlags>(
      G_BUS_NAME_OWNER_FLAGS_ALLOW_REPLACEMENT | G_BUS_NAME_OWNER_FLAGS_DO_NOT_QUEUE |
      (replace ? G_BUS_NAME_OWNER_FLAGS_REPLACE : G_BUS_NAME_OWNER_FLAGS_NONE));
  s.owner = g_bus_own_name_on_connection(s.bus, kName, flags, State::onAcquired, State::onLost, &s, nullptr);
  const bool answered = await(s.answered);
  if (answered && s.claim == State::Claim::owned) {
    s.closedHandler = g_signal_connect(s.bus, "closed", G_CALLBACK(State::onClosed), &s);
    return true;
  }
  g_bus_unown_name(s.owner);
  s.owner = 0;
  g_dbus_connection_unregister_object(s.bus, s.registration);
  s.registration = 0;
  s.claim = State::Claim::taken;
  return false;
}

Result<bool, InstanceError> SessionInstance::handOver(const std::vector<std::string>& options) {
  GVariantBuilder words;
  g_variant_builder_init(&words, G_VARIANT_TYPE("as"));
  for (const std::string& o : options) g_variant_builder_add(&words, "s", o.c_str());
  Reply reply;
  g_dbus_connection_call(state_->bus, kName, kPath, kInterface, "Show", g_variant_new("(as)", &words),
                         G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, kAnswerMs,
                         state_->cancellable, Reply::finish, &reply);
  await(reply.done, kAnswerMs + 1000);
  if (reply.value == nullptr)
    return InstanceError{"the running host did not take the options: " + take(reply.error)};
  gboolean changed = FALSE;
  g_variant_get(reply.value, "(b)", &changed);
  g_variant_unref(reply.value);
  return changed != FALSE;
}

Result<bool, InstanceError> SessionInstance::askToQuit() {
  enum class Owner { unknown, present, gone };
  Owner owner = Owner::unknown;
  bool known = false, vanished = false;
  struct Watch {
    Owner* owner;
    bool* known;
    bool* vanished;
  } watch{&owner, &known, &vanished};
  const guint id = g_bus_watch_name_on_connection(
      state_->bus, kName, G_BUS_NAME_WATCHER_FLAGS_NONE,
      +[](GDBusConnection*, const gchar*, const gchar*, gpointer w) {
        auto* self = static_cast<Watch*>(w);
        if (!*self->known) *self->owner = Owner::present;
        *self->known = true;
      },
      +[](GDBusConnection*, const gchar*, gpointer w) {
        auto* self = static_cast<Watch*>(w);
        if (!*self->known) *self->owner = Owner::gone;
        *self->known = true;
        *self->vanished = true;
      },
      &watch, nullptr);
  const auto unwatch = [id] { g_bus_unwatch_name(id); };
  if (!await(known)) {
    unwatch();
    return InstanceError{"the session bus does not answer"};
  }
  if (owner == Owner::gone) {
    unwatch();
    return false;
  }
  Reply reply;
  g_dbus_connection_call(state_->bus, kName, kPath, kInterface, "Quit", nullptr, nullptr,
                         G_DBUS_CALL_FLAGS_NO_AUTO_START, kAnswerMs, state_->cancellable, Reply::finish,
                         &reply);
  await(reply.done, kAnswerMs + 1000);
  if (reply.value != nullptr) g_variant_unref(reply.value);
  if (reply.error != nullptr && !vanished) {
    unwatch();
    return InstanceError{"the running host did not end: " + take(reply.error)};
  }
  if (reply.error != nullptr) g_error_free(reply.error);
  const bool ended = await(vanished);
  unwatch();
  if (!ended) return InstanceError{"the running host did not end"};
  return true;
}

}  // namespace ostrel::desktop
