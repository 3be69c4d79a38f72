#include "base/change_notifier.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace scrivlet {
namespace {

TEST(ChangeNotifier, ListeningEndsWithTheSubscription) {
  std::string heard;
  std::optional<ChangeNotifier> model(std::in_place);
  auto first = model->subscribe([&] { heard += "1"; });
  ChangeNotifier::Subscription second;
  {
    auto shortLived = model->subscribe([&] { heard += "x"; });
    second = model->subscribe([&] {
      heard += "2";
      // A listener may end another's subscription while being told.
      first.cancel();
    });
    model->notify();
  }
  model->notify();
  EXPECT_EQ(heard, "1x22");
  // The model may go first: the view's subscription then ends quietly.
  model.reset();
  second.cancel();
}

}  // namespace
}  // namespace scrivlet
