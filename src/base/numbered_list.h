#pragma once

// A list of texts numbered from 1, as the system numbers sections, keys and profiles.

#include <cstdint>
#include <string>
#include <vector>

#include "base/error.h"

namespace orvex {

class NumberedList {
 public:
  NumberedList() = default;
  NumberedList(std::initializer_list<std::string> items) : items_(items) {}

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  // The item with the given number, 1 to Count(); Error 9 otherwise.
  const std::string& At(int32_t number) const {
    if (number < 1 || number > Count()) {
      throw Error(kErrSubscriptOutOfRange, "Subscript out of range");
    }
    return items_[static_cast<size_t>(number - 1)];
  }

  // The number of the first item equal to text (case-sensitive), or 0.
  int32_t NumberOf(const std::string& text) const {
    for (size_t i = 0; i < items_.size(); ++i) {
      if (items_[i] == text) {
        return static_cast<int32_t>(i + 1);
      }
    }
    return 0;
  }

  void Append(std::string item) { items_.push_back(std::move(item)); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  bool operator==(const NumberedList&) const = default;

 private:
  std::vector<std::string> items_;
};

}  // namespace orvex
