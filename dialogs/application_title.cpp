#include "dialogs/application_title.h"

#include <utility>

namespace setuvane {
namespace {

struct TitleState {
  std::string title = "Setuvane";
  std::function<void(const std::string&)> listener;
};

TitleState& State() {
  static TitleState state;
  return state;
}

}  // namespace

const std::string& ApplicationTitle() { return State().title; }

void SetApplicationTitle(std::string title) {
  State().title = std::move(title);
  if (State().listener) State().listener(State().title);
}

void SetApplicationTitleListener(std::function<void(const std::string&)> listener) {
  State().listener = std::move(listener);
}

}  // namespace setuvane
