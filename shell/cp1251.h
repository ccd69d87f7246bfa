// Text inside Lemmix is single-byte Windows-1251: positions are byte positions,
// letters carry 8-bit codes and data files round-trip byte for byte. Sources are
// UTF-8, so every Russian literal is written as "текст"_cp, which converts it
// to cp1251 at compile time (a character outside cp1251 does not compile).
// Unicode appears only where text leaves the core: the GUI and the terminal.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace lemmix {

namespace cp1251_detail {

// cp1251 bytes 0x80..0xBF by Unicode code point (0 = unassigned, 0x98).
inline constexpr char32_t kHighTable[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0,      0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

// Unicode code point of one cp1251 byte.
constexpr char32_t ToCodePoint(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);  // А..я
  return kHighTable[byte - 0x80];
}

// cp1251 byte of a code point, or -1 when cp1251 has no such character.
constexpr int FromCodePoint(char32_t cp) {
  if (cp < 0x80) return static_cast<int>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<int>(0xC0 + (cp - 0x0410));
  for (int i = 0; i < 64; ++i)
    if (kHighTable[i] == cp && cp != 0) return 0x80 + i;
  return -1;
}

// Decodes one UTF-8 sequence at s[i]; advances i. Returns U+FFFD on bad input.
constexpr char32_t DecodeUtf8(const char* s, std::size_t n, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : -1;
  if (extra < 0) return 0xFFFD;
  char32_t cp = b0 & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= n) return 0xFFFD;
    const auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (b & 0x3F);
    ++i;
  }
  return cp;
}

template <std::size_t N>
struct Utf8Literal {
  char bytes[N]{};
  consteval Utf8Literal(const char (&s)[N]) {
    for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
  }
  consteval std::size_t Cp1251Size() const {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < N;) {
      DecodeUtf8(bytes, N - 1, i);
      ++count;
    }
    return count;
  }
};

template <Utf8Literal S>
consteval auto Convert() {
  std::array<char, S.Cp1251Size() + 1> out{};
  std::size_t o = 0;
  for (std::size_t i = 0; i + 1 < sizeof(S.bytes);) {
    const int byte = FromCodePoint(DecodeUtf8(S.bytes, sizeof(S.bytes) - 1, i));
    if (byte < 0) throw "character has no Windows-1251 code";  // a compile error
    out[o++] = static_cast<char>(byte);
  }
  return out;
}

template <Utf8Literal S>
inline constexpr auto kConverted = Convert<S>();

}  // namespace cp1251_detail

// "текст"_cp: the cp1251 bytes of a UTF-8 source literal.
template <cp1251_detail::Utf8Literal S>
std::string operator""_cp() {
  const auto& bytes = cp1251_detail::kConverted<S>;
  return std::string(bytes.data(), bytes.size() - 1);
}

// Conversions at the boundary of the core.
void AppendUtf8(std::string& out, char32_t codePoint);
std::string Cp1251ToUtf8(std::string_view text);
// Characters without a cp1251 code become '?'.
std::string Utf8ToCp1251(std::string_view text);

}  // namespace lemmix
