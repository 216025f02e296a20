#pragma once

// INI files that exercise every corner of the profile-file rules, with the names to probe in each.
// Bytes are Windows-1255 unless the file is UTF-8 (with the byte-order mark, or without it and with
// characters outside ASCII).

#include <string>
#include <vector>

namespace orvex::test_support {

struct IniCorpusFile {
  std::string name;
  std::string bytes;
  std::vector<std::string> sections;  // section names to probe (UTF-8), besides those the file lists
  std::vector<std::string> keys;      // key names to probe in every section (UTF-8)
};

inline std::string Repeat(const std::string& text, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) {
    out += text;
  }
  return out;
}

inline std::string Numbered(const std::string& prefix, size_t count, const std::string& suffix) {
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    out += prefix + std::to_string(i) + suffix;
  }
  return out;
}

inline std::vector<IniCorpusFile> IniCorpus() {
  const std::vector<std::string> abc = {"A", "B", "C", "a", "D"};
  return {
      {"spaces_and_tabs_around_equals", "[S]\r\nA = 1\r\nB\t=\t2\r\n  C=3  \r\n\tD =\t 4 \t\r\n", {}, abc},
      {"quotes",
       "[S]\r\nA=\"abc\"\r\nB='abc'\r\nC=\"abc'\r\nD=\"\r\nE=\"\"\r\nF=''\r\nG= \" spaced \" \r\nH=\"a\"b\"\r\n",
       {},
       {"A", "B", "C", "D", "E", "F", "G", "H"}},
      {"unbalanced_quotes", "[S]\r\nA=\"abc\r\nB=abc\"\r\nC='\r\nD='abc\"\r\n", {}, abc},
      {"duplicate_sections", "[S]\r\nA=1\r\n[T]\r\nA=2\r\n[S]\r\nA=3\r\nB=4\r\n", {}, abc},
      {"duplicate_keys", "[S]\r\nA=1\r\na=2\r\nA=3\r\nB=\r\nB=5\r\n", {}, abc},
      {"keys_before_any_section", "A=0\r\nB=0\r\n[S]\r\nA=1\r\n", {""}, abc},
      {"lines_without_equals", "[S]\r\nA\r\nB=2\r\nC\r\nC=3\r\n", {}, abc},
      {"comment_lines",
       "; top\r\n[S]\r\n;A=1\r\nA=2\r\n ; indented=3\r\n#B=4\r\n",
       {},
       {"A", "B", ";A", "#B", "; top"}},
      {"blank_and_whitespace_lines", "\r\n   \r\n\t\r\n[S]\r\n\r\n  \r\nA=1\r\n\r\n\t \r\nB=2\r\n\r\n", {}, abc},
      {"lf_line_ends", "[S]\nA=1\nB=2\n[T]\nC=3\n", {}, abc},
      {"crlf_without_final_line_end", "[S]\r\nA=1\r\nB=2", {}, abc},
      {"lf_without_final_line_end", "[S]\nA=1\n[T]\nB=2", {}, abc},
      {"cr_only_line_ends", "[S]\rA=1\rB=2\r", {}, abc},
      {"mixed_line_ends", "[S]\r\nA=1\nB=2\r\n[T]\nC=3", {}, abc},
      {"value_of_300_characters", "[S]\r\nA=" + Repeat("0123456789", 30) + "\r\n", {}, abc},
      {"values_of_254_and_255_characters",
       "[S]\r\nA=" + Repeat("x", 254) + "\r\nB=" + Repeat("y", 255) + "\r\n",
       {},
       abc},
      {"quoted_value_of_300_characters",
       "[S]\r\nA=\"" + Repeat("q", 300) + "\"\r\nB='" + Repeat("r", 252) + "'\r\n",
       {},
       abc},
      {"names_differing_only_in_case",
       "[config]\r\nKEY=1\r\nkey=2\r\n[CONFIG]\r\nKey=3\r\n",
       {"Config", "cOnFiG"},
       {"KEY", "key", "Key"}},
      {"section_lines_with_trailing_text",
       "[S] trailing\r\nA=1\r\n[T]]x\r\nB=2\r\n[U\r\nC=3\r\n[V]A=4\r\n",
       {"T]", "U", "[U", "V"},
       {"A", "B", "C", "[U", "[V]A"}},
      {"hebrew_names_and_values",
       "[\xE1\xF0\xF7 \xEC\xE0\xE5\xEE\xE9]\r\n\xF9\xED=\xE3\xE5\xE3\r\n\xF2\xF8\xEA = \"\xF9\xEC\xE5\xED\"\r\n",
       {"בנק לאומי"},
       {"שם", "ערך", "שמ"}},
      {"empty_values", "[S]\r\nA=\r\nB=   \r\nC=\t\r\n", {}, abc},
      {"blanks_inside_section_brackets", "[ S ]\r\nA=1\r\n[T ]\r\nB=2\r\n", {"S", " S ", "T", "T "}, abc},
      {"nul_inside_values",
       std::string("[S]\r\nA=ab") + '\0' + "cd\r\nB=\"x" + '\0' + "y\"\r\nC=" + '\0' + "\r\n",
       {" S ", "S "},
       abc},
      {"indented_section_lines", "  [S]\r\nA=1\r\n\t[T]\r\nB=2\r\n", {}, abc},
      {"empty_section_name", "[]\r\nA=1\r\n[S]\r\nB=2\r\n", {""}, abc},
      {"utf8_with_byte_order_mark", "\xEF\xBB\xBF[\xD7\xA9]\r\n\xD7\x90=\xD7\x91\r\nA=plain\r\n", {"ש"}, {"א", "A"}},
      {"utf8_without_byte_order_mark", "[\xD7\xA9]\r\n\xD7\x90=\xD7\x91\r\nA=plain\r\n", {"ש"}, {"א", "A"}},
      {"several_equals_signs", "[S]\r\nA=b=c\r\n=x\r\nB==\r\n", {}, {"A", "B", ""}},
      {"dos_eof_and_no_break_space", "[S]\r\nA=\xA0x\xA0\r\nB=\x1Ay\x1A\r\nC\xA0=z\r\n", {}, abc},
      {"section_names_beyond_the_list_buffer", Numbered("[Section number ", 600, "]\r\nA=1\r\n"), {}, {"A"}},
      {"key_names_beyond_the_list_buffer", "[S]\r\n" + Numbered("Key number ", 700, "=1\r\n"), {}, {"Key number 5"}},
      {"empty_file", "", {"S"}, abc},
      {"blanks_inside_key_names", "[S]\r\nmy key = v\r\nmy  key=w\r\n", {}, {"my key", "my  key", "mykey"}},
      {"semicolon_after_value", "[S]\r\nA=1 ; comment\r\nB=\"2\" ; comment\r\n", {}, abc},
      {"typical_configuration",
       "; Orvex Excella\r\n[Config]\r\nDeviceName=EXCELLA\r\nProgramList=\r\n\r\n[Bank11]\r\nRed=10\r\n"
       "ChequeTemplate={ChequeNum}{TAB}{BankNum}{ENTER}\r\n",
       {"Bank11", "bank11"},
       {"DeviceName", "Red", "ChequeTemplate", "ProgramList", "Missing"}},
  };
}

}  // namespace orvex::test_support
