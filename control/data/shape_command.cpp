#include "control/data/shape_command.h"

#include <array>
#include <cctype>

#include "base/text.h"

namespace kivdb {
namespace {

using text::EqualsNoCase;
using text::IsBlank;
using text::Trim;

// Letters, digits, _ $ # @ and the bytes of UTF-8 sequences make up a bare name.
bool IsWordChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) != 0 || c == '_' || c == '$' || c == '#' || c == '@' || u >= 0x80;
}

constexpr std::array<std::string_view, 5> kKeywords = {"SHAPE", "APPEND", "AS", "RELATE", "TO"};

bool IsKeyword(std::string_view word) {
  for (std::string_view keyword : kKeywords) {
    if (EqualsNoCase(word, keyword)) return true;
  }
  return false;
}

// The position of the brace that closes the one at `open`, or npos. Quoted texts, bracketed names
// and comments of the provider command may hold braces of their own that do not count.
size_t FindClosingBrace(std::string_view text, size_t open) {
  int depth = 0;
  size_t i = open;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth == 0) return i;
    } else if (c == '\'' || c == '"' || c == '`') {
      // A doubled quote closes and reopens at once, so it needs no case of its own.
      const size_t close = text.find(c, i + 1);
      if (close == std::string_view::npos) return close;
      i = close;
    } else if (c == '[') {
      // A bracketed name (of a nested shape, or of the provider's own dialect) may hold quotes
      // and braces; "]]" stands for one "]" inside it.
      size_t close = text.find(']', i + 1);
      while (close != std::string_view::npos && close + 1 < text.size() && text[close + 1] == ']')
        close = text.find(']', close + 2);
      if (close == std::string_view::npos) return close;
      i = close;
    } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
      const size_t end = text.find('\n', i);
      if (end == std::string_view::npos) return end;
      i = end;
    } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      const size_t end = text.find("*/", i + 2);
      if (end == std::string_view::npos) return end;
      i = end + 1;
    }
    ++i;
  }
  return std::string_view::npos;
}

class Parser {
 public:
  Parser(std::string_view text, int depth, std::string& error)
      : text_(text), depth_(depth), error_(error) {}

  // The whole text as one shape, with nothing after it but blanks and one optional ";".
  bool ParseAll(ShapeCommand& shape) {
    if (!ParseShape(shape)) return false;
    SkipBlanks();
    if (Peek() == ';') {
      ++pos_;
      SkipBlanks();
    }
    if (pos_ < text_.size()) {
      if (Peek() == '}') return Fail("unbalanced braces: a '}' closes nothing");
      if (Peek() == ')') return Fail("unbalanced parentheses: a ')' closes nothing");
      return Fail("unexpected text after the end of the command");
    }
    return true;
  }

 private:
  bool ParseShape(ShapeCommand& shape) {
    if (!Keyword("SHAPE")) return Fail("expected the word SHAPE");
    if (!ParseSource(shape.parent, "the parent command")) return false;
    if (Keyword("AS") && !ReadName(shape.alias, "an alias after AS")) return false;
    if (!Keyword("APPEND")) {
      SkipBlanks();
      if (Peek() == '}') return Fail("unbalanced braces: a '}' closes nothing");
      return Fail("missing APPEND after the parent command");
    }
    int unnamed = 0;
    do {
      ShapeChild child;
      if (!ParseChild(child, unnamed)) return false;
      shape.children.push_back(std::move(child));
    } while (Punctuation(','));
    return true;
  }

  bool ParseChild(ShapeChild& child, int& unnamed) {
    if (!Punctuation('(')) return Fail("expected '(' to open a child of APPEND");
    if (!ParseSource(child.source, "the child command")) return false;
    if (Keyword("AS") && !ReadName(child.alias, "an alias after AS")) return false;
    if (!Keyword("RELATE")) {
      SkipBlanks();
      if (Peek() == '}') return Fail("unbalanced braces: a '}' closes nothing");
      return Fail("missing RELATE in a child of APPEND");
    }
    do {
      ShapeRelation relation;
      if (!ReadName(relation.parentColumn, "a parent column after RELATE")) return false;
      if (!Keyword("TO")) return Fail("missing TO after the parent column");
      if (!ReadName(relation.childColumn, "a child column after TO")) return false;
      child.relations.push_back(std::move(relation));
    } while (Punctuation(','));
    if (!Punctuation(')')) {
      return Fail("unbalanced parentheses: expected ')' to close the child of APPEND");
    }
    if (Keyword("AS")) return ReadName(child.chapterName, "a chapter name after AS");
    child.chapterName = "Chapter" + std::to_string(++unnamed);
    return true;
  }

  bool ParseSource(ShapeSource& source, const char* what) {
    SkipBlanks();
    const char c = Peek();
    if (c == '{') {
      const size_t open = pos_;
      const size_t close = FindClosingBrace(text_, open);
      if (close == std::string_view::npos) {
        return Fail("unbalanced braces: the '{' of " + std::string(what) + " is never closed");
      }
      const std::string_view body = Trim(text_.substr(open + 1, close - open - 1));
      if (body.empty()) return Fail("empty braces where " + std::string(what) + " belongs");
      if (IsShapeCommand(body)) {
        if (!CheckDepth()) return false;
        source.shape = std::make_unique<ShapeCommand>();
        if (!Parser(body, depth_ + 1, error_).ParseAll(*source.shape)) return false;
      } else {
        source.command = std::string(body);
      }
      pos_ = close + 1;
      return true;
    }
    if (c == '(') {
      ++pos_;
      SkipBlanks();
      if (!StartsWithWord("SHAPE")) {
        return Fail("expected SHAPE after '(': a provider command belongs in braces");
      }
      if (!CheckDepth()) return false;
      source.shape = std::make_unique<ShapeCommand>();
      ++depth_;
      const bool parsed = ParseShape(*source.shape);
      --depth_;
      if (!parsed) return false;
      if (!Punctuation(')')) {
        return Fail("unbalanced parentheses: expected ')' to close the nested SHAPE");
      }
      return true;
    }
    if (c == '}') return Fail("unbalanced braces: a '}' closes nothing");
    return Fail("expected '{' to open " + std::string(what));
  }

  bool CheckDepth() {
    if (depth_ + 1 < kMaxShapeDepth) return true;
    return Fail("SHAPE commands nest deeper than " + std::to_string(kMaxShapeDepth) + " levels");
  }

  // A name: a bare word that is no keyword, or a quoted one.
  bool ReadName(std::string& name, const char* what) {
    SkipBlanks();
    const char c = Peek();
    const char close = c == '[' ? ']' : c == '"' ? '"' : c == '`' ? '`' : '\0';
    if (close != '\0') {
      size_t i = pos_ + 1;
      std::string out;
      while (true) {
        if (i >= text_.size()) return Fail("an unclosed quoted name");
        if (text_[i] == close) {
          if (i + 1 < text_.size() && text_[i + 1] == close) {
            out += close;
            i += 2;
            continue;
          }
          break;
        }
        out += text_[i++];
      }
      if (Trim(out).empty()) return Fail("expected " + std::string(what));
      name = std::move(out);
      pos_ = i + 1;
      return true;
    }
    const std::string_view word = WordAt(pos_);
    if (word.empty() || IsKeyword(word)) return Fail("expected " + std::string(what));
    name = std::string(word);
    pos_ += word.size();
    return true;
  }

  std::string_view WordAt(size_t at) const {
    size_t end = at;
    while (end < text_.size() && IsWordChar(text_[end])) ++end;
    return text_.substr(at, end - at);
  }

  bool StartsWithWord(std::string_view keyword) const {
    return EqualsNoCase(WordAt(pos_), keyword);
  }

  // Consumes the keyword when it comes next.
  bool Keyword(std::string_view keyword) {
    SkipBlanks();
    if (!StartsWithWord(keyword)) return false;
    pos_ += keyword.size();
    return true;
  }

  bool Punctuation(char c) {
    SkipBlanks();
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }

  char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

  // Sets the message, naming the text where parsing stopped; always false.
  bool Fail(const std::string& what) {
    constexpr size_t kExcerpt = 30;
    SkipBlanks();
    std::string where = " at the end of the command";
    if (pos_ < text_.size()) {
      const std::string_view rest = text_.substr(pos_);
      where = " near '" + std::string(rest.substr(0, kExcerpt)) +
              (rest.size() > kExcerpt ? "...'" : "'");
    }
    error_ = "Malformed SHAPE command: " + what + where;
    return false;
  }

  std::string_view text_;
  size_t pos_ = 0;
  int depth_;
  std::string& error_;
};

}  // namespace

bool IsShapeCommand(std::string_view text) {
  text = Trim(text);
  return text.size() >= 5 && EqualsNoCase(text.substr(0, 5), "SHAPE") &&
         (text.size() == 5 || !IsWordChar(text[5]));
}

std::optional<ShapeCommand> ParseShapeCommand(std::string_view text, std::string& error) {
  ShapeCommand shape;
  if (!Parser(Trim(text), 0, error).ParseAll(shape)) return std::nullopt;
  return shape;
}

bool CheckShapeCommand(std::string_view text, std::string& error) {
  return ParseShapeCommand(text, error).has_value();
}

}  // namespace kivdb
