#pragma once

// An operator prompt that answers from a script ("" when none is left: a cancel) and records what
// it was asked.

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "interpret/file_names.h"

namespace orvex::test_support {

class ScriptedPrompt final : public OperatorPrompt {
 public:
  explicit ScriptedPrompt(std::deque<std::string> script = {}) : answers(std::move(script)) {}

  std::string Ask(std::string_view title, std::string_view prompt) override {
    titles.emplace_back(title);
    asked.emplace_back(prompt);
    if (answers.empty()) {
      return "";
    }
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::deque<std::string> answers;
  std::vector<std::string> titles;
  std::vector<std::string> asked;
};

}  // namespace orvex::test_support
