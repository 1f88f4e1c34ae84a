#pragma once
/// \file session_instance.hpp
/// The desktop host's one instance in the user's session: the well-known name `app.ostrel.Widgets`
/// on the session bus, with an object (`/app/ostrel/Widgets`, interface `app.ostrel.Widgets.Host`)
/// through which a later start hands over what it would show (`Show`) or ends the host (`Quit`),
/// and other desktop shells read what the widgets show now (`Faces`: kind, family and reading of
/// each, in order).
///
///     auto bus = SessionInstance::connect();          // or "cannot reach the session bus: ..."
///     if (!(*bus)->claim(replace, handlers)) {        // another host owns the name
///       auto changed = (*bus)->handOver(options);     // whether it shows them now (false: its own already)
///     }
///
/// Everything runs on the thread-default GLib main context: `connect`, `claim`, `handOver` and
/// `askToQuit` iterate it until the bus answers; the handlers are called from it while the host's
/// loop runs. The connection never ends the process when the bus goes away (GLib's default for bus
/// connections); `ended` says so instead.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/result.hpp"

namespace ostrel::desktop {

/// Why the session bus could not do what was asked.
struct InstanceError {
  std::string message;  ///< one line
  friend bool operator==(const InstanceError&, const InstanceError&) = default;
};

/// How an instance that owned the name stopped owning it.
enum class InstanceEnd {
  replaced,  ///< a start with --replace took the name over
  busLost,   ///< the session bus went away
};

/// One widget as the running host shows it now.
struct InstanceFace {
  std::string kind;     ///< "NextUp"
  std::string family;   ///< "systemSmall"
  std::string reading;  ///< the face read as text, as its window's accessible name
  friend bool operator==(const InstanceFace&, const InstanceFace&) = default;
};

/// What the owner of the name does for later starts and other shells.
struct InstanceHandlers {
  /// Another start's options: whether they differ from those shown (and are shown from now on), or
  /// why they are refused.
  std::function<Result<bool, InstanceError>(const std::vector<std::string>&)> show;
  std::function<void()> quit;
  std::function<std::vector<InstanceFace>()> faces;
  std::function<void(InstanceEnd)> ended;  ///< called once, after the name was owned
};

class SessionInstance {
 public:
  /// Connects to the session bus; the error when there is none.
  [[nodiscard]] static Result<std::unique_ptr<SessionInstance>, InstanceError> connect();
  ~SessionInstance();
  SessionInstance(const SessionInstance&) = delete;
  SessionInstance& operator=(const SessionInstance&) = delete;
  SessionInstance(SessionInstance&&) = delete;
  SessionInstance& operator=(SessionInstance&&) = delete;

  /// Asks for the name, taking it from its owner when `replace`: whether this process owns it now
  /// (false: another instance does). The handlers serve later starts for as long as it is owned.
  [[nodiscard]] bool claim(bool replace, InstanceHandlers handlers);
  /// Hands `options` to the owner of the name: whether it shows them now (false: they were its own).
  [[nodiscard]] Result<bool, InstanceError> handOver(const std::vector<std::string>& options);
  /// Asks the owner of the name to end and waits until it has released it: whether one was running.
  [[nodiscard]] Result<bool, InstanceError> askToQuit();

 private:
  struct State;
  explicit SessionInstance(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

}  // namespace ostrel::desktop
