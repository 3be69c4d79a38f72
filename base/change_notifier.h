// How a view follows a model without the model knowing the view: the
// model calls notify() after every step that changes what it shows, and the
// view, subscribed once, redraws from the model's getters. A view keeps the
// Subscription it gets as long as it lives: destroying it ends the
// listening, whichever of view and model goes first. Listeners belong to
// one model object, so a notifier is never copied along with a model.
#ifndef SCRIVLET_BASE_CHANGE_NOTIFIER_H_
#define SCRIVLET_BASE_CHANGE_NOTIFIER_H_

#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace scrivlet {

class ChangeNotifier {
  struct Listeners {
    std::map<int, std::function<void()>> byId;
    int nextId = 0;
  };

 public:
  using Listener = std::function<void()>;

  class Subscription {
   public:
    Subscription() = default;
    Subscription(std::weak_ptr<Listeners> listeners, int id)
        : listeners_(std::move(listeners)), id_(id) {}
    Subscription(Subscription&& other) noexcept { *this = std::move(other); }
    Subscription& operator=(Subscription&& other) noexcept {
      cancel();
      listeners_ = std::move(other.listeners_);
      id_ = other.id_;
      other.listeners_.reset();
      return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { cancel(); }

    void cancel() {
      if (auto listeners = listeners_.lock()) listeners->byId.erase(id_);
      listeners_.reset();
    }

   private:
    std::weak_ptr<Listeners> listeners_;
    int id_ = 0;
  };

  ChangeNotifier() = default;
  ChangeNotifier(const ChangeNotifier&) = delete;
  ChangeNotifier& operator=(const ChangeNotifier&) = delete;

  [[nodiscard]] Subscription subscribe(Listener listener) {
    int id = listeners_->nextId++;
    listeners_->byId.emplace(id, std::move(listener));
    return Subscription(listeners_, id);
  }
  void notify() const {
    // A listener may end its own or another's subscription.
    auto listeners = listeners_->byId;
    for (const auto& [id, listener] : listeners)
      if (listeners_->byId.count(id)) listener();
  }

 private:
  std::shared_ptr<Listeners> listeners_ = std::make_shared<Listeners>();
};

}  // namespace scrivlet

#endif  // SCRIVLET_BASE_CHANGE_NOTIFIER_H_
