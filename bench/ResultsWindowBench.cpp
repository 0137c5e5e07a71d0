// How long the results window takes to open on a long list, and to sort and search it once open.
// Usage: results_bench [ROWS]   (default 100000). The list goes through the list file's writer and
// reader first, as an earlier run's list would.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/runlist/RunListFile.h"
#include "shell/results/ResultsWindow.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

std::vector<RunListRow> MakeRows(std::size_t count) {
  static constexpr std::u16string_view kWords[] = {u"会議", u"お知らせ", u"Re: ", u"invoice", u"見積もり", u"meeting", u"週報"};
  std::vector<RunListRow> rows(count);
  std::uint32_t state = 1;
  for (std::size_t i = 0; i < count; ++i) {
    state = state * 1103515245 + 12345;
    RunListRow& row = rows[i];
    row.state = static_cast<RunListState>(state >> 30);
    row.path = row.state == RunListState::Missing ? u"" : u"mail" + std::u16string(1, u'a' + static_cast<char16_t>(i % 26)) + u".eml";
    row.bytes = static_cast<std::int64_t>(state % 200000);
    row.date = MailDate{1998 + static_cast<int>(state % 10), 1 + static_cast<int>(state % 12), 1 + static_cast<int>(state % 28),
                        static_cast<int>(state % 24), static_cast<int>(state % 60), static_cast<int>((state >> 8) % 60)};
    row.sender = u"sender" + std::u16string(1, u'A' + static_cast<char16_t>(state % 26)) + u"@example.jp";
    row.subject = std::u16string(kWords[state % std::size(kWords)]) + std::u16string(kWords[(state >> 4) % std::size(kWords)]);
  }
  return rows;
}

struct Timing {
  Clock::time_point start;
  double opened = 0, sorted = 0, resorted = 0, searched = 0;
};
Timing* gTiming = nullptr;

// Runs once the dialog's queue is idle: it has been created, shown and painted.
void CALLBACK WhenIdle(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  gTiming->opened = Milliseconds(gTiming->start);
  const HWND dialog = GetActiveWindow();
  const HWND list = GetDlgItem(dialog, static_cast<int>(ResultsControl::lvwMail));
  const HWND search = GetDlgItem(dialog, static_cast<int>(ResultsControl::txtSearch));
  auto start = Clock::now();
  SetWindowTextW(search, L"会議");  // sorted by date, as the window opens
  UpdateWindow(dialog);
  gTiming->searched = Milliseconds(start);
  SetWindowTextW(search, L"");
  NMLISTVIEW click{};
  click.hdr = {list, static_cast<UINT_PTR>(ResultsControl::lvwMail), LVN_COLUMNCLICK};
  click.iSubItem = static_cast<int>(ResultColumn::Subject);
  start = Clock::now();
  SendMessageW(dialog, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
  UpdateWindow(dialog);
  gTiming->sorted = Milliseconds(start);
  start = Clock::now();
  SendMessageW(dialog, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));  // the other way round
  UpdateWindow(dialog);
  gTiming->resorted = Milliseconds(start);
  SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
  const std::string file = WriteRunList(MakeRows(count), Language::Japanese);
  auto start = Clock::now();
  RunList list = ReadRunList(file);
  const double read = Milliseconds(start);

  Timing timing;
  gTiming = &timing;
  SetTimer(nullptr, 0, 0, WhenIdle);
  timing.start = Clock::now();
  frmResults::Show(nullptr, Language::Japanese, RunResults{u"C:\\nowhere", std::move(list.rows)});
  std::printf("rows %zu: list file %zu bytes read in %.0f ms; window open in %.0f ms; search %.0f ms; "
              "sort by subject %.0f ms, again the other way %.0f ms\n",
              count, file.size(), read, timing.opened, timing.searched, timing.sorted, timing.resorted);
  return 0;
}
