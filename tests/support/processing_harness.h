#pragma once

// The document processors over a real configuration file and real log files in a temporary
// folder (the current folder meanwhile), with scripted dialogs, prompt and restricted-account
// sources, a fixed clock, a disk that fails where a test says, and a key delivery that records
// what the SendInput engine was given.

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_io.h"
#include "base/text_codec.h"
#include "config/global_settings.h"
#include "config/profiles.h"
#include "interpret/document_processing.h"
#include "keys/feed.h"
#include "support/current_folder.h"
#include "support/fake_clock.h"
#include "support/fake_message_boxes.h"
#include "support/fake_shell.h"
#include "support/faulty_files.h"
#include "support/image_names_printer.h"
#include "support/ini_text_file.h"
#include "support/sample_cutting_keys.h"
#include "support/scripted_prompt.h"
#include "support/temp_folder.h"

namespace orvex::test_support {

// Answers the cheque dialogs from a script (a cancel when none is left) and records each opening.
class ScriptedChequeDialogs final : public ChequeDialogs {
 public:
  struct Opening {
    std::string dialog;  // "full" or "data"
    ChequeFields fields;
    std::string verifyCaption;
    std::string picturePath;
  };

  std::optional<ChequeCompletion> ShowChequeFull(const ChequeFields& fields, std::string_view verifyCaption,
                                                 std::string_view picturePath) override {
    openings.push_back({"full", fields, std::string(verifyCaption), std::string(picturePath)});
    return NextAnswer();
  }
  std::optional<ChequeCompletion> ShowChequeData(const ChequeFields& fields, std::string_view verifyCaption) override {
    openings.push_back({"data", fields, std::string(verifyCaption), ""});
    return NextAnswer();
  }
  DebugAccount AskDebugAccount() override { return debugAccount; }

  std::deque<std::optional<ChequeCompletion>> answers;
  std::vector<Opening> openings;
  DebugAccount debugAccount;

 private:
  std::optional<ChequeCompletion> NextAnswer() {
    if (answers.empty()) {
      return std::nullopt;
    }
    std::optional<ChequeCompletion> answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// Answers with fixed verdicts and records each question as "list|account|branch|bank" or "web|...".
class FakeRestrictedAccounts final : public RestrictedAccountSources {
 public:
  bool IsAccountListed(const std::string& accountListPath, std::string_view account, std::string_view branch,
                       std::string_view bank) override {
    asked.push_back("list " + accountListPath + "|" + std::string(account) + "|" + std::string(branch) + "|" +
                    std::string(bank));
    return listed;
  }
  bool QueryRestrictedAccount(const std::string& limitedAccountUrl, std::string_view account, std::string_view branch,
                              std::string_view bank) override {
    asked.push_back("web " + limitedAccountUrl + "|" + std::string(account) + "|" + std::string(branch) + "|" +
                    std::string(bank));
    return restrictedOnWeb;
  }

  bool listed = false;
  bool restrictedOnWeb = false;
  std::vector<std::string> asked;
};

// Keeps each text handed to the SendInput engine; the other engines are not chosen by the profiles
// of these tests.
class RecordingKeyDelivery final : public KeyDelivery, public FeedHost {
 public:
  bool ActivateWindowByTitle(std::string_view) override { return true; }
  void KeysToClipboard(std::string_view) override {}
  void PasteToForeground() override {}
  void SendKeysAndWait(std::string_view) override {}
  void VbSendKeys(std::string_view, int32_t, bool) override {}
  bool VbSendInput(std::string_view text) override {
    typed.emplace_back(text);
    return true;
  }
  void YieldToPendingMessages() override {}
  void StopPollingTimer() override {}
  void StartPollingTimer() override {}
  void ShowLastDataSent(const std::string&) override {}
  std::string GeneralDateTimeNow() override { return "05/03/2026 14:07:09"; }

  std::vector<std::string> typed;
};

class ProcessingHarness {
 public:
  // `iniText`: the configuration's profile sections; profile 1 is loaded. "<folder>" in the text
  // stands for the temporary folder.
  explicit ProcessingHarness(std::string_view iniText) {
    ini.SetPath(WriteIniFile(folder, "OrvexExcella.ini", WithFolder(iniText)));
    ini.SetSection("Config");
    profiles.SetProfileNames(ProfileSectionNames(ini));
    for (const std::string& name : profiles.ProfileNames()) {
      shell.menus[TrayMenu::Profile].push_back(name);
    }
    profiles.LoadProfile(1);
  }

  std::string WithFolder(std::string_view text) const {
    std::string result(text);
    const std::string marker = "<folder>";
    for (size_t at = result.find(marker); at != std::string::npos; at = result.find(marker, at)) {
      result.replace(at, marker.size(), folder.File(""));
    }
    return result;
  }

  // A file of the folder as UTF-8 text; nothing when it does not exist.
  std::optional<std::string> FileText(const std::string& name) const {
    const std::optional<std::string> bytes = ReadFileBytes(folder.File(name));
    return bytes ? std::optional(Windows1255ToUtf8(*bytes)) : std::nullopt;
  }

  // Processes cheques of bank 12 numbered `first` to `last` and returns the log lines expected of
  // them by a profile without names and with the cheque number cut whole (-13/13).
  std::string ProcessNumberedCheques(int first, int last) {
    std::string lines;
    for (int number = first; number <= last; ++number) {
      const std::string chequeNum = "000000" + std::to_string(number);
      processing.ParseAndFeedCheque("A" + chequeNum + " C12A34567E 000123456A", "", "", false);
      lines += chequeNum + ",12,34567,000123456,14:07:09,05/03/2026,,,\"\"\r\n";
    }
    return lines;
  }

  TempFolder folder;
  CurrentFolder current{folder.Path()};  // the data folder, where the recovery folder lies
  cInifile ini;
  FakeShell shell;
  ConfigurationNotes notes;
  Profiles profiles{ini, shell, notes};
  RecordingKeyDelivery delivery;
  KeyFeeder feeder{delivery, delivery};
  ScriptedChequeDialogs dialogs;
  ScriptedPrompt prompt;
  FakeRestrictedAccounts restricted;
  FakeMessageBoxes boxes;
  FakeClock clock;
  // Bank 12, branches 300 to 400: the sample cheque's remainder 7 is accepted.
  BanksBranches banksBranches{{{12, 300, 400, 7, 7, 7, 7}, {11, 1, 999, 0, 1, 2, 3}}};
  FaultyFiles files;
  DocumentTrail trail{files, clock, boxes};
  DocumentProcessing processing{profiles, feeder, dialogs,       prompt, restricted,
                                boxes,    clock,  banksBranches, files,  trail};
};

}  // namespace orvex::test_support
