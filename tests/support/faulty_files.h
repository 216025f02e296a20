#pragma once

// The disk as an office has it on a bad day, for the portable core's tests: under a path, a folder
// that is read-only, a share that went offline, a disk that fills up part-way through a write, or
// files that another program keeps from being removed. Everything else goes to the real disk.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_store.h"

namespace orvex::test_support {

enum class DiskFault {
  kReadOnly,     // reads work; writes, removals and moves fail
  kOffline,      // nothing works, not even a read
  kFull,         // writes stop after the bytes left, leaving what fitted
  kUndeletable,  // removals and moves away fail
};

class FaultyFiles final : public FileStore {
 public:
  // Paths that start with `prefix` get the fault from now on; `bytesLeft` is the room of kFull.
  void Fail(std::string prefix, DiskFault fault, uint64_t bytesLeft = 0) {
    faults_.push_back({std::move(prefix), fault, bytesLeft});
  }
  void Heal() { faults_.clear(); }

  std::optional<std::string> Read(std::string_view path) override {
    return Has(path, DiskFault::kOffline) ? std::nullopt : disk_.Read(path);
  }
  std::optional<uint64_t> Size(std::string_view path) override {
    return Has(path, DiskFault::kOffline) ? std::nullopt : disk_.Size(path);
  }
  std::optional<char> LastByte(std::string_view path) override {
    return Has(path, DiskFault::kOffline) ? std::nullopt : disk_.LastByte(path);
  }
  bool Write(std::string_view path, std::string_view bytes) override {
    if (!Writable(path)) {
      return false;
    }
    const std::string_view fitting = Fitting(path, bytes);
    return disk_.Write(path, fitting) && fitting.size() == bytes.size();
  }
  bool Append(std::string_view path, std::string_view bytes) override {
    if (!Writable(path)) {
      return false;
    }
    const std::string_view fitting = Fitting(path, bytes);
    return disk_.Append(path, fitting) && fitting.size() == bytes.size();
  }
  bool Truncate(std::string_view path, uint64_t size) override { return Writable(path) && disk_.Truncate(path, size); }
  bool Remove(std::string_view path) override {
    return Writable(path) && !Has(path, DiskFault::kUndeletable) && disk_.Remove(path);
  }
  bool Move(std::string_view from, std::string_view to) override {
    return Writable(from) && Writable(to) && !Has(from, DiskFault::kUndeletable) && disk_.Move(from, to);
  }
  void CreateFolderFor(std::string_view fileName) override {
    if (Writable(fileName)) {
      disk_.CreateFolderFor(fileName);
    }
  }

 private:
  struct Rule {
    std::string prefix;
    DiskFault fault;
    uint64_t bytesLeft;
  };

  Rule* RuleFor(std::string_view path, DiskFault fault) {
    for (Rule& rule : faults_) {
      if (rule.fault == fault && path.starts_with(rule.prefix)) {
        return &rule;
      }
    }
    return nullptr;
  }
  bool Has(std::string_view path, DiskFault fault) { return RuleFor(path, fault) != nullptr; }
  bool Writable(std::string_view path) { return !Has(path, DiskFault::kReadOnly) && !Has(path, DiskFault::kOffline); }
  // What of the bytes fits on a full disk, which is then fuller by that much.
  std::string_view Fitting(std::string_view path, std::string_view bytes) {
    Rule* full = RuleFor(path, DiskFault::kFull);
    if (!full) {
      return bytes;
    }
    const std::string_view fitting = bytes.substr(0, std::min<size_t>(full->bytesLeft, bytes.size()));
    full->bytesLeft -= fitting.size();
    return fitting;
  }

  DiskFiles disk_;
  std::vector<Rule> faults_;
};

}  // namespace orvex::test_support
