// How a view follows a model without the model knowing the view: the
// model calls notify() after every step that changes what it shows, and the
// view, subscribed once, redraws from the model's getters. Listeners belong
// to one model object, so a notifier is never copied along with a model.
#ifndef SCRIVLET_SOURCE_CHANGE_NOTIFIER_H_
#define SCRIVLET_SOURCE_CHANGE_NOTIFIER_H_

#include <functional>
#include <utility>
#include <vector>

namespace scrivlet {

class ChangeNotifier {
 public:
  using Listener = std::function<void()>;

  ChangeNotifier() = default;
  ChangeNotifier(const ChangeNotifier&) = delete;
  ChangeNotifier& operator=(const ChangeNotifier&) = delete;

  void subscribe(Listener listener) {
    listeners_.push_back(std::move(listener));
  }
  void notify() const {
    for (const Listener& listener : listeners_) listener();
  }

 private:
  std::vector<Listener> listeners_;
};

}  // namespace scrivlet

#endif  // SCRIVLET_SOURCE_CHANGE_NOTIFIER_H_
