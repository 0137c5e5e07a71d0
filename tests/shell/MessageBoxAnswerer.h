#pragma once
// Answers the message boxes this thread opens, in order, and records what each one showed.
#include <windows.h>

#include <string>
#include <vector>

struct ShownMessageBox {
  std::wstring caption;
  std::wstring text;
  bool yesNo = false;       // Yes and No buttons rather than OK
  bool questionIcon = false;
  bool criticalIcon = false;
};

class MessageBoxAnswerer {
 public:
  // answers: IDYES, IDNO or IDOK, one per expected box; a box beyond them is answered with No (or OK).
  explicit MessageBoxAnswerer(std::vector<int> answers = {});
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;
  ~MessageBoxAnswerer();

  const std::vector<ShownMessageBox>& Shown() const { return shown_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  void Answer(HWND box);

  HHOOK hook_ = nullptr;
  std::vector<int> answers_;
  std::vector<ShownMessageBox> shown_;
};
