#include "config/profile_settings.h"

#include <algorithm>
#include <optional>

#include "base/vb_convert.h"

namespace orvex {
namespace {

constexpr int16_t kSmallestIconFontSize = 1;
constexpr int16_t kLargestIconFontSize = 72;

// A size that is not a 16-bit whole number gives the smallest size; returns whether it was one.
bool StoreIconFontSize(std::string_view text, int16_t ProfileSettings::*field, ProfileSettings& settings) {
  const std::optional<int16_t> size = ToInt16(text);
  settings.*field = size ? std::clamp(*size, kSmallestIconFontSize, kLargestIconFontSize) : kSmallestIconFontSize;
  return size.has_value();
}

std::optional<bool> IsOn(std::optional<int16_t> number) {
  if (!number) {
    return std::nullopt;
  }
  return *number != 0;
}

template <typename T>
bool Store(std::optional<T> value, T ProfileSettings::*field, ProfileSettings& settings) {
  if (!value) {
    return false;
  }
  settings.*field = std::move(*value);
  return true;
}

}  // namespace

ProfileSettings DefaultProfileSettings() {
  ProfileSettings settings;
  for (const ProfileKey& key : kProfileKeys) {
    StoreProfileValue(key, key.defaultValue, settings);
  }
  return settings;
}

bool StoreProfileValue(const ProfileKey& key, std::string_view text, ProfileSettings& settings) {
  switch (key.type) {
    case ProfileKeyType::Byte:
      return Store(ToByte(text), std::get<uint8_t ProfileSettings::*>(key.field), settings);
    case ProfileKeyType::Int16:
      return Store(ToInt16(text), std::get<int16_t ProfileSettings::*>(key.field), settings);
    case ProfileKeyType::IconFontSize:
      return StoreIconFontSize(text, std::get<int16_t ProfileSettings::*>(key.field), settings);
    case ProfileKeyType::Int32:
      return Store(ToInt32(text), std::get<int32_t ProfileSettings::*>(key.field), settings);
    case ProfileKeyType::Flag:
      return Store(IsOn(ToInt16(text)), std::get<bool ProfileSettings::*>(key.field), settings);
    case ProfileKeyType::ByteFlag: {
      const std::optional<uint8_t> number = ToByte(text);
      return Store(number ? std::optional(*number != 0) : std::nullopt, std::get<bool ProfileSettings::*>(key.field),
                   settings);
    }
    case ProfileKeyType::Boolean:
      return Store(ToBoolean(text), std::get<bool ProfileSettings::*>(key.field), settings);
    case ProfileKeyType::Text:
      return Store(std::optional(std::string(text)), std::get<std::string ProfileSettings::*>(key.field), settings);
  }
  return false;
}

}  // namespace orvex
