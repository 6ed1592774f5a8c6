#include "platform/json_text.h"

#include <cstddef>

namespace tornvel {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

// A valid sequence at some position, or the ill-formed stretch to replace:
// `length` bytes either way.
struct Sequence {
  std::size_t length = 1;
  bool valid = false;
};

// The bytes that may follow a lead byte: how many, and the range the first of
// them must fall in (the later ones are always 80 to BF). The narrow first
// ranges keep out overlong forms (E0, F0), surrogates (ED) and code points
// above U+10FFFF (F4).
struct LeadByte {
  std::size_t following = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
};

// Only lead bytes of well-formed sequences have followers; C0, C1, F5 to FF
// and a lone continuation byte begin nothing.
LeadByte leadByte(unsigned char byte) {
  if (byte >= 0xC2 && byte <= 0xDF) return {1, 0x80, 0xBF};
  if (byte == 0xE0) return {2, 0xA0, 0xBF};
  if (byte == 0xED) return {2, 0x80, 0x9F};
  if (byte >= 0xE1 && byte <= 0xEF) return {2, 0x80, 0xBF};
  if (byte == 0xF0) return {3, 0x90, 0xBF};
  if (byte >= 0xF1 && byte <= 0xF3) return {3, 0x80, 0xBF};
  if (byte == 0xF4) return {3, 0x80, 0x8F};
  return {};
}

// The sequence that begins with the byte at `at` (not ASCII). An ill-formed
// one ends before the first byte that cannot continue it, which is looked at
// afresh as the beginning of the next.
Sequence sequenceAt(std::string_view text, std::size_t at) {
  const LeadByte lead = leadByte(static_cast<unsigned char>(text[at]));
  if (lead.following == 0) return {};
  for (std::size_t i = 1; i <= lead.following; ++i) {
    if (at + i >= text.size()) return {i, false};
    const auto byte = static_cast<unsigned char>(text[at + i]);
    const unsigned char low = i == 1 ? lead.low : 0x80;
    const unsigned char high = i == 1 ? lead.high : 0xBF;
    if (byte < low || byte > high) return {i, false};
  }
  return {lead.following + 1, true};
}

void appendControl(std::string& out, unsigned char byte) {
  switch (byte) {
    case '\b':
      out += "\\b";
      return;
    case '\t':
      out += "\\t";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\f':
      out += "\\f";
      return;
    case '\r':
      out += "\\r";
      return;
    default:
      constexpr const char* kHex = "0123456789abcdef";
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
  }
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
  out += '"';
  std::size_t at = 0;
  while (at < text.size()) {
    // Most texts are plain ASCII: a stretch of bytes that need nothing is
    // appended at once.
    std::size_t end = at;
    while (end < text.size()) {
      const auto byte = static_cast<unsigned char>(text[end]);
      if (byte < 0x20 || byte >= 0x80 || byte == '"' || byte == '\\') break;
      ++end;
    }
    out.append(text, at, end - at);
    at = end;
    if (at == text.size()) break;
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += static_cast<char>(byte);
      ++at;
    } else if (byte < 0x20) {
      appendControl(out, byte);
      ++at;
    } else {
      const Sequence sequence = sequenceAt(text, at);
      if (sequence.valid) {
        out.append(text, at, sequence.length);
      } else {
        out += kReplacement;
      }
      at += sequence.length;
    }
  }
  out += '"';
}

void appendJsonStringOrNull(std::string& out, const std::optional<std::string>& text) {
  if (text) {
    appendJsonString(out, *text);
  } else {
    appendJsonNull(out);
  }
}

void appendJsonNumber(std::string& out, std::int64_t value) { out += std::to_string(value); }

void appendJsonNumberOrNull(std::string& out, std::optional<std::int64_t> value) {
  if (value) {
    appendJsonNumber(out, *value);
  } else {
    appendJsonNull(out);
  }
}

void appendJsonBool(std::string& out, bool value) { out += value ? "true" : "false"; }
void appendJsonNull(std::string& out) { out += "null"; }

}  // namespace tornvel
