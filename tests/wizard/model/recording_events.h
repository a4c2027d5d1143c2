#pragma once
// ViewEvents that write down what the views hand on ("insert 2", "menu 2", "paragraph menu 8 1"),
// so a suite can check the route from a view without the wizard's commands behind it.

#include <functional>
#include <string>
#include <vector>

#include "wizard/model/views.h"

namespace kivwz::test {

class RecordingEvents : public ViewEvents {
 public:
  void NodeClicked(const std::string& nodeKey) override {
    events.push_back("click " + nodeKey);
    if (onClick) onClick(nodeKey);
  }
  void NodeAsked(NodeIntent intent, const std::string& nodeKey) override {
    const char* names[] = {"insert ", "edit ", "delete ", "menu "};
    events.push_back(names[static_cast<int>(intent)] + nodeKey);
  }
  void ParagraphMenuAsked(const std::string& paragraphKey, const std::string& nodeKey) override {
    events.push_back("paragraph menu " + paragraphKey + " " + nodeKey);
  }

  std::vector<std::string> events;
  // Runs after a click is written down, for suites that want the click to show something.
  std::function<void(const std::string& nodeKey)> onClick;
};

}  // namespace kivwz::test
