// Times DecodeMimeHeader on 64 KiB header values. Usage: convert_bench [repetitions]
#include "convert/Decoders.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr std::size_t kValueLength = 64 * 1024;

std::u16string Repeat(std::u16string_view unit) {
  std::u16string value;
  while (value.size() < kValueLength) value += unit;
  return value;
}

struct Workload {
  const char* name;
  std::u16string value;
};

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
  const Workload workloads[] = {
      {"mixed B and Q encoded words",
       Repeat(u"=?ISO-2022-JP?B?GyRCMnE1RCRON28hJ0xARnwjMSMwO34bKEI=?= =?shift_jis?b?ie+LY4LMjI+BRpa+k/qCUIJPjp4=?= "
              u"=?euc-jp?b?svG1xKTOt++hp8zAxvyjsaOwu/4=?= =?utf-8?q?=E4=BC=9A=E8=AD=B0=E3=81=AE?= "
              u"=?iso-2022-jp?q?=1B$B2q5D=1B(B?= ")},
      {"utf-8 Q words only", Repeat(u"=?utf-8?q?=E3=81=82=E3=81=84?=")},
      {"one encoded word", u"=?utf-8?b?" + Repeat(u"44GC44GE")},
      {"plain text", Repeat(u"Re: meeting tomorrow ")},
      {"raw ISO-2022-JP", Repeat(u"\x1B$B2q5D$N7o\x1B(B Re: ")},
  };

  std::printf("%-30s %10s %12s\n", "value (64 KiB)", "ms", "ms per KiB");
  for (const auto& workload : workloads) {
    double best = 1e300;
    std::size_t checksum = 0;
    for (int i = 0; i < repetitions; ++i) {
      const auto start = std::chrono::steady_clock::now();
      const auto decoded = DecodeMimeHeader(workload.value);
      const auto stop = std::chrono::steady_clock::now();
      checksum += decoded ? decoded->size() : 0;
      best = std::min(best, std::chrono::duration<double, std::milli>(stop - start).count());
    }
    const double kib = static_cast<double>(workload.value.size()) / 1024.0;
    std::printf("%-30s %10.3f %12.5f   (%zu characters out)\n", workload.name, best, best / kib,
                checksum / static_cast<std::size_t>(repetitions));
  }
  return 0;
}
