#pragma once

// Records every message shown and answers from a script (OK when the script is used up).

#include <deque>
#include <vector>

#include "base/message_box.h"

namespace orvex::testing {

class FakeMessageBoxes : public MessageBoxes {
 public:
  MessageAnswer Show(const Message& message) override {
    shown_.push_back(message);
    if (answers_.empty()) {
      return MessageAnswer::Ok;
    }
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }

  // The answers given to the next messages, in order.
  void ScriptAnswers(std::initializer_list<MessageAnswer> answers) { answers_.insert(answers_.end(), answers); }

  const std::vector<Message>& Shown() const { return shown_; }

 private:
  std::vector<Message> shown_;
  std::deque<MessageAnswer> answers_;
};

}  // namespace orvex::testing
