#pragma once
// The only way the recovery run reaches its user interface. The CLI, the Win32 main window and the
// tests each implement it, so that all of them drive the same RecoverMails.
#include <string>

#include "engine/Texts.h"

// The status-bar controls and buttons of the main window that the run changes.
enum class StatusControl { lblMessage, lblProc, lblRename, lblPercent, lblStatus, prgStatus, cmdStart, cmdStop };

enum class MessageIcon { Exclamation, Critical, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct UiMessage {
  std::u16string text;        // exactly what the message box shows
  MessageIcon icon = MessageIcon::Information;
  MessageButtons buttons = MessageButtons::Ok;
  std::u16string osReason;    // what the system said, for front ends that can show it; may be empty
};

class RecoveryUi {
 public:
  virtual ~RecoveryUi() = default;

  // The language of every text the run shows: the user's, in the window as in the CLI.
  virtual Language TextLanguage() const { return Language::Japanese; }

  // txtEMLFolder's text when the run starts.
  virtual std::u16string OutputParentFolder() = 0;

  virtual void SetVisible(StatusControl control, bool visible) = 0;
  virtual void SetCaption(StatusControl control, const std::u16string& caption) = 0;
  // prgStatus's value, 0 to 100.
  virtual void SetProgress(int value) = 0;
  virtual void SetBusyPointer(bool busy) = 0;

  virtual MessageAnswer ShowMessage(const UiMessage& message) = 0;
  // Lets the user interface handle pending events (the stop button, closing the window).
  virtual void PumpEvents() = 0;
  // Opens the folder in the platform's file browser without waiting for it.
  virtual void OpenFolder(const std::u16string& path) = 0;
  // Whether the front end can show the run's list once the report is read, so that the report says so.
  virtual bool OffersResults() const { return false; }
};
