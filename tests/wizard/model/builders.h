#pragma once
// Small builders for scheme records, report lines and scratch files used across the model tests.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>

#include "wizard/model/nav_scheme.h"
#include "wizard/model/nav_schemes.h"
#include "wizard/model/web_scheme.h"

namespace kivwz::test {

inline std::shared_ptr<clsNavScheme> Node(Long id, Long parent, const std::string& type,
                                          const std::string& query = "",
                                          const std::string& description = "",
                                          const std::string& parm = "") {
  auto node = std::make_shared<clsNavScheme>();
  node->ID(id);
  node->parentIs = parent;
  node->descriptionIs = description.empty() ? "Node " + std::to_string(id) : description;
  node->typeIs(type);
  node->queryIs(query);
  node->parmIs(parm);
  node->iconIs = "leaf";
  return node;
}

inline std::shared_ptr<clsWebScheme> Paragraph(Long id, Long node, Long seqNo,
                                               const std::string& type = "S",
                                               const std::string& query = "spW_Q",
                                               const std::string& title = "") {
  auto paragraph = std::make_shared<clsWebScheme>();
  paragraph->ID(id);
  paragraph->XST1 = node;
  paragraph->seqNo = seqNo;
  paragraph->typeIs = type;
  paragraph->queryIs = query;
  paragraph->titleIs = title.empty() ? "Paragraph " + std::to_string(id) : title;
  return paragraph;
}

// Each line followed by CR LF.
inline std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// IDs in collection order, "1 2 7".
inline std::string IdsInOrder(const clsNavSchemes& navs) {
  std::ostringstream out;
  for (const auto& node : navs) out << (out.tellp() > 0 ? " " : "") << node->ID();
  return out.str();
}

class ScratchDir {
 public:
  ScratchDir() {
    path_ = std::filesystem::temp_directory_path() /
            ("kivwz-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

inline void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

}  // namespace kivwz::test
