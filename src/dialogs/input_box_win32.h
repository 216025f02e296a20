#pragma once

// The operator prompt of the Windows build: a modal right-to-left input box with a title, a prompt
// and an empty text box. OK gives the typed text; Cancel, Escape and the close box give the empty
// text, which names no file.

#include "interpret/file_names.h"

namespace orvex {

class Win32OperatorPrompt final : public OperatorPrompt {
 public:
  std::string Ask(std::string_view title, std::string_view prompt) override;
};

}  // namespace orvex
