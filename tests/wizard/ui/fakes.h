#pragma once
// Stand-ins for what the main window talks to: message boxes, file dialogs and modal windows that
// record what they were asked and answer as a test scripts them.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "wizard/model/memory_views.h"
#include "wizard/model/wizard_commands.h"

namespace kivwz::test {

// One log of everything shown, in order, shared by the fakes.
using ShownLog = std::vector<std::string>;

// The in-memory message boxes, writing into the shared log as well.
class RecordingMessages : public MemoryMessageBoxes {
 public:
  explicit RecordingMessages(ShownLog& log) : log_(log) {}
  void Information(const std::string& text) override {
    MemoryMessageBoxes::Information(text);
    log_.push_back("message: " + text);
  }
  bool AskYesNo(const std::string& question, Answer preselected) override {
    log_.push_back("question: " + question);
    return MemoryMessageBoxes::AskYesNo(question, preselected);
  }

 private:
  ShownLog& log_;
};

class ScriptedDialogs : public FileDialogs {
 public:
  std::string GetOpenName(const std::string& startFolder) override {
    startFolders.push_back(startFolder);
    return Next();
  }
  std::string GetSaveAsName(const std::string& defaultName,
                            const std::string& startFolder) override {
    defaultNames.push_back(defaultName);
    startFolders.push_back(startFolder);
    return Next();
  }
  std::deque<std::string> answers;  // "" cancels
  std::vector<std::string> startFolders;
  std::vector<std::string> defaultNames;

 private:
  std::string Next() {
    if (answers.empty()) return {};
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class RecordingWindows : public WizardWindows {
 public:
  explicit RecordingWindows(ShownLog& log) : log_(log) {}
  void ShowIntroduction() override { log_.push_back("introduction"); }
  void ShowOutput(const std::string& text) override {
    outputs.push_back(text);
    log_.push_back("output");
  }
  void EditNode(const clsNavSchemes::Node& parent, const clsNavSchemes::Node& record) override {
    log_.push_back("node editor");
    nodeParents.push_back(parent);
    nodeRecords.push_back(record);
    if (onEditNode) onEditNode(record);
  }
  void EditParagraph(const clsWebSchemes::Paragraph& record) override {
    log_.push_back("paragraph editor");
    paragraphRecords.push_back(record);
    if (onEditParagraph) onEditParagraph(record);
  }
  void ShowHelp() override { log_.push_back("help"); }

  std::vector<std::string> outputs;
  std::vector<clsNavSchemes::Node> nodeParents;
  std::vector<clsNavSchemes::Node> nodeRecords;
  std::vector<clsWebSchemes::Paragraph> paragraphRecords;
  std::function<void(const clsNavSchemes::Node&)> onEditNode;
  std::function<void(const clsWebSchemes::Paragraph&)> onEditParagraph;

 private:
  ShownLog& log_;
};

}  // namespace kivwz::test
