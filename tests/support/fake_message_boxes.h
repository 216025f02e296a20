#pragma once

// Records every message the core shows and answers with scripted answers (Ok when none is left).

#include <deque>
#include <vector>

#include "base/message_box.h"

namespace orvex::test_support {

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

  void AnswerNext(MessageAnswer answer) { answers_.push_back(answer); }
  const std::vector<Message>& Shown() const { return shown_; }

 private:
  std::deque<MessageAnswer> answers_;
  std::vector<Message> shown_;
};

}  // namespace orvex::test_support
