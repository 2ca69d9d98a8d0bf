#include "wildcard.h"

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace platform {
namespace {

// The pattern turned into tokens whose meaning depends on what follows them,
// so the matcher looks at one token at a time.
enum class Kind { kLiteral, kStar, kStarBeforeDot, kQuestion, kDot };

struct Token {
  Kind kind;
  unsigned char c;
};

std::vector<Token> Tokenize(const std::string& pattern) {
  std::vector<Token> tokens;
  for (size_t i = 0; i < pattern.size(); ++i) {
    char c = pattern[i];
    char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (c == '*') {
      tokens.push_back({next == '.' ? Kind::kStarBeforeDot : Kind::kStar, 0});
    } else if (c == '?') {
      tokens.push_back({Kind::kQuestion, 0});
    } else if (c == '.' && (next == '?' || next == '*' || next == '\0')) {
      tokens.push_back({Kind::kDot, 0});
    } else {
      tokens.push_back({Kind::kLiteral, static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)))});
    }
  }
  return tokens;
}

class Matcher {
 public:
  Matcher(const std::vector<Token>& tokens, const std::string& name)
      : tokens_(tokens), name_(name), lastDot_(name.rfind('.')),
        seen_((tokens.size() + 1) * (name.size() + 1), 0) {}

  bool Match(size_t t, size_t n) {
    char& memo = seen_[t * (name_.size() + 1) + n];
    if (memo == 0) memo = Step(t, n) ? 1 : 2;
    return memo == 1;
  }

 private:
  bool Step(size_t t, size_t n) {
    if (t == tokens_.size()) return n == name_.size();
    bool atEnd = n == name_.size();
    unsigned char c = atEnd ? 0 : static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(name_[n])));
    switch (tokens_[t].kind) {
      case Kind::kLiteral:
        return !atEnd && c == tokens_[t].c && Match(t + 1, n + 1);
      case Kind::kStar:
        for (size_t k = n; k <= name_.size(); ++k) {
          if (Match(t + 1, k)) return true;
        }
        return false;
      case Kind::kStarBeforeDot:
        // Consumes nothing past the name's last dot.
        for (size_t k = n; k <= name_.size(); ++k) {
          if (Match(t + 1, k)) return true;
          if (lastDot_ != std::string::npos && k == lastDot_) return false;
        }
        return false;
      case Kind::kQuestion:
        if (atEnd || c == '.') {
          // The rest of this run of '?' matches nothing here.
          size_t after = t;
          while (after < tokens_.size() && tokens_[after].kind == Kind::kQuestion) ++after;
          return Match(after, n);
        }
        return Match(t + 1, n + 1);
      case Kind::kDot:
        if (atEnd) return Match(t + 1, n);
        return c == '.' && Match(t + 1, n + 1);
    }
    return false;
  }

  const std::vector<Token>& tokens_;
  const std::string& name_;
  size_t lastDot_;
  std::vector<char> seen_;
};

}  // namespace

bool WildcardMatches(const char* pattern, const char* name) {
  if (pattern == nullptr || name == nullptr) return false;
  std::string text(pattern);
  if (text == "*.*") text = "*";
  std::vector<Token> tokens = Tokenize(text);
  std::string subject(name);
  return Matcher(tokens, subject).Match(0, 0);
}

}  // namespace platform
