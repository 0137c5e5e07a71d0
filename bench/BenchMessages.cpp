#include "bench/BenchMessages.h"

#include <iconv.h>

#include <array>
#include <chrono>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace bench {
namespace {

constexpr std::array<std::string_view, 16> kPhrases = {
    "会議の議事録について", "請求書送付のお知らせ", "【重要】パスワード変更のお願い", "来週の打ち合わせ日程",
    "出張報告書", "見積書のご確認", "お問い合わせありがとうございます", "新製品発表会のご案内",
    "年末年始休業のお知らせ", "ご注文の確認", "システムメンテナンスのお知らせ", "歓迎会のお誘い",
    "資料を送ります", "先日はありがとうございました", "サーバー障害報告", "ＤＢＸ復元テスト　全角英数"};

std::uint32_t NextRandom(std::uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

std::uint32_t Seed(std::uint32_t index) { return index * 2654435761u + 0x9E3779B9u; }

std::string Convert(std::string_view utf8, const char* charset) {
  iconv_t converter = iconv_open(charset, "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("no converter to ") + charset);
  std::string in(utf8);
  std::vector<char> out(in.size() * 4 + 16);
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t result = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv(converter, nullptr, nullptr, &outPtr, &outLeft);  // back to ASCII at the end (ISO-2022-JP)
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1)) throw std::runtime_error(std::string("cannot convert to ") + charset);
  return {out.data(), out.size() - outLeft};
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t group = static_cast<std::uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[i + 1])) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<std::uint8_t>(bytes[i + 2]);
    out += kDigits[group >> 18 & 63];
    out += kDigits[group >> 12 & 63];
    out += i + 1 < bytes.size() ? kDigits[group >> 6 & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[group & 63] : '=';
  }
  return out;
}

struct EncodedPhrase {
  std::string jisWord;   // =?ISO-2022-JP?B?...?=
  std::string sjisWord;  // =?Shift_JIS?B?...?=
  std::string utf8Word;  // =?UTF-8?B?...?=
  std::string jisText;   // raw ISO-2022-JP bytes, for bodies
  std::string sjisText;  // raw code page 932 bytes, as the store's index keeps subjects
};

const std::vector<EncodedPhrase>& Phrases() {
  static const std::vector<EncodedPhrase> phrases = [] {
    std::vector<EncodedPhrase> list;
    for (const auto phrase : kPhrases) {
      const std::string jis = Convert(phrase, "ISO-2022-JP");
      list.push_back({"=?ISO-2022-JP?B?" + Base64(jis) + "?=", "=?Shift_JIS?B?" + Base64(Convert(phrase, "CP932")) + "?=",
                      "=?UTF-8?B?" + Base64(phrase) + "?=", jis, Convert(phrase, "CP932")});
    }
    return list;
  }();
  return phrases;
}

// Sizes as a mailbox has them: mostly short notes, some long letters, few large attachments.
std::size_t MessageSize(std::uint32_t& state) {
  const std::uint32_t kind = NextRandom(state) % 100;
  const std::uint32_t r = NextRandom(state);
  if (kind < 55) return 1'000 + r % 3'000;
  if (kind < 88) return 4'000 + r % 8'000;
  if (kind < 99) return 16'000 + r % 48'000;
  return 64'000 + r % 192'000;
}

std::string DateText(std::uint32_t index) {
  using namespace std::chrono;
  static constexpr std::array<std::string_view, 7> kDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const sys_days day = sys_days(year{2001} / January / 1) + days(index / 40);
  const year_month_day date(day);
  const std::uint32_t seconds = (index * 7919u) % 86'400u;
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02u %s %d %02u:%02u:%02u +0900", kDays[weekday(day).c_encoding()].data(),
                static_cast<unsigned>(date.day()), kMonths[static_cast<unsigned>(date.month()) - 1].data(),
                static_cast<int>(date.year()), seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

}  // namespace

MessageMaker::MessageMaker() { Phrases(); }

std::string MessageMaker::Subject(std::uint32_t index, bool decoded) const {
  std::uint32_t state = Seed(index) ^ 0x5bd1e995u;
  NextRandom(state);
  // Every tenth message answers an earlier one and carries its subject unchanged.
  if (index > 0 && NextRandom(state) % 10 == 0) return Subject(NextRandom(state) % index, decoded);
  const auto& phrase = Phrases()[NextRandom(state) % Phrases().size()];
  const std::string number = " " + std::to_string(index);
  const std::uint32_t form = NextRandom(state) % 100;
  if (form < 90 && decoded) return (form < 70 ? "" : "Re: ") + phrase.sjisText + number;
  if (form < 50) return phrase.jisWord + number;
  if (form < 70) return phrase.sjisWord + number;
  if (form < 90) return "Re: " + phrase.utf8Word + number;
  return "Weekly report" + number;
}

std::string MessageMaker::JisBody(std::uint32_t& state) const {
  return Phrases()[NextRandom(state) % Phrases().size()].jisText;
}

std::string MessageMaker::Make(std::uint32_t index, const std::string& fixedSubject) const {
  std::uint32_t state = Seed(index);
  NextRandom(state);
  const std::size_t size = MessageSize(state);
  const std::string date = DateText(index);
  std::string message = "Received: from mail" + std::to_string(index % 97) + ".example.jp (mail.example.jp [192.0.2." +
                        std::to_string(index % 250) + "])\r\n\tby mx.example.jp with ESMTP id " +
                        std::to_string(index) + "; " + date + "\r\nFrom: sender" + std::to_string(index % 300) +
                        "@example.co.jp\r\nTo: user@example.jp\r\nSubject: " +
                        (fixedSubject.empty() ? Subject(index) : fixedSubject) + "\r\nDate: " + date +
                        "\r\nMessage-ID: <" + std::to_string(index) + ".bench@example.jp>\r\nMIME-Version: 1.0\r\n";
  const bool attachment = size > 16'000;
  const std::string boundary = "----=_NextPart_" + std::to_string(index);
  if (attachment)
    message += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n--" + boundary +
               "\r\nContent-Type: text/plain; charset=\"iso-2022-jp\"\r\n\r\n";
  else
    message += "Content-Type: text/plain; charset=\"iso-2022-jp\"\r\n\r\n";
  const std::size_t textEnd = attachment ? message.size() + 1'500 : size;
  static constexpr std::string_view kWords[] = {"mail ", "block ", "chain ", "store ", "letter ", "recover ", "1234 "};
  while (message.size() < textEnd) {
    if (NextRandom(state) % 3 == 0) {
      message += JisBody(state);
    } else {
      for (int w = 0; w < 9; ++w) message += kWords[NextRandom(state) % std::size(kWords)];
    }
    message += "\r\n";
  }
  if (attachment) {
    message += "\r\n--" + boundary + "\r\nContent-Type: application/octet-stream; name=\"data" + std::to_string(index) +
               ".bin\"\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    std::string raw(57, '\0');
    while (message.size() < size) {
      for (auto& c : raw) c = static_cast<char>(NextRandom(state) >> 24);
      message += Base64(raw) + "\r\n";
    }
    message += "\r\n--" + boundary + "--\r\n";
  }
  return message;
}

}  // namespace bench
