#pragma once

// A web client that records the addresses it is asked for and answers with a scripted page, or
// fails with a scripted error.

#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "verify/web_client.h"

namespace orvex::test_support {

class FakeWebClient : public WebClient {
 public:
  std::string Fetch(const std::string& url) override {
    urls.push_back(url);
    if (failure) {
      throw *failure;
    }
    return page;
  }
  void SetRequestTimeout(int32_t) override {}

  std::string page;
  std::optional<Error> failure;
  std::vector<std::string> urls;
};

}  // namespace orvex::test_support
